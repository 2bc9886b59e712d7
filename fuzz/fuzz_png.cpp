// Fuzzes the PNG reader at every depth it knows, with gamma correction.
#include "fuzz/fuzz_common.h"
#include "imageio/readers/png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    uint8_t palette[1024];
    for (int32_t depth : {1, 8, 16, 24, 32, 48, 64}) {
        is_seek(source, 0, 0);
        uint32_t width = 0, height = 0;
        const uint32_t flags = depth == 24 ? PNG_FLAG_GAMMA : depth == 16 ? PNG_FLAG_GREY16 : 0;
        fuzz_check_and_free(is_read_png(source, &width, &height, depth, palette, flags),
                            buffer_bytes(width, height, depth));
    }
    is_close_source(source);
    return 0;
}
