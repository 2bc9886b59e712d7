// Without GDI there is nothing to play a metafile into: both roads refuse.
#include "imageio/readers/metafile.h"

uint8_t* is_render_metafile(const char* name, uint32_t* out_width, uint32_t* out_height, int32_t, int32_t, uint32_t,
                            uint32_t)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    if (out_width)
        *out_width = 0;
    if (out_height)
        *out_height = 0;
    is_set_error(state, (name && out_width && out_height) ? IS_ERR_NO_READER : IS_ERR_BAD_ARGUMENT);
    return nullptr;
}

uint8_t* metafile_generic_read(read_context& context, uint32_t*, uint32_t*, int32_t, uint8_t*)
{
    return context.fail(IS_ERR_NO_READER);
}
