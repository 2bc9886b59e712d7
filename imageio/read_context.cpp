#include "imageio/read_context.h"

bool read_context::cancelled(uint32_t step, uint32_t total)
{
    if (state->call_depth != 1 || !state->abort_callback)
        return false;
    if (state->abort_callback((int32_t)step, (int32_t)total, state->callback_user) != 0)
        return false;
    error = IS_ERR_CANCELLED;
    return true;
}

int32_t source_error(const ISSourceRecord* source)
{
    if (!source)
        return IS_ERR_BAD_ARGUMENT;
    return is_valid_source(source) ? IS_OK : IS_ERR_BAD_SOURCE;
}
