// Photo CD image packs are recognised but not decoded yet: the read fails
// cleanly with "no reader".
#include "imageio/read_context.h"

uint8_t* is_read_pcd(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t resolution, uint32_t flags)
{
    (void)resolution;
    (void)flags;
    return run_read_entry(source, width, height, [](read_context& context) {
        return context.fail(IS_ERR_NO_READER);
    });
}
