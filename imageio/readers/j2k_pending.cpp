// Stand-in for the JPEG 2000 module until its decoder is built in: both
// functions fail with "no reader", so JPEG 2000 files are refused cleanly.
#include "imageio/readers/j2k.h"

#include "imageio/thread_state.h"

bool j2k_set_io_callbacks(const is_io_callbacks* table)
{
    (void)table;
    is_set_error(is_thread_state(), IS_ERR_NO_READER);
    return false;
}

uint8_t* j2k_read(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, double scale,
                  uint32_t flags)
{
    (void)source;
    (void)depth;
    (void)scale;
    (void)flags;
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    is_set_error(is_thread_state(), IS_ERR_NO_READER);
    return nullptr;
}
