// Fuzzes the GIF reader as indices and as a packed bitmap.
#include "fuzz/fuzz_common.h"
#include "imageio/readers/gif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    uint8_t palette[1024];
    uint32_t width = 0, height = 0;
    int32_t transparent = 0;
    uint8_t* indices = is_read_gif(source, &width, &height, &transparent, palette, 0);
    fuzz_check_and_free(indices, buffer_bytes(width, height, 8));
    is_seek(source, 0, 0);
    fuzz_check_dib_and_free(is_read_gif(source, &width, &height, &transparent, nullptr, IS_FLAG_PACKED_DIB));
    is_close_source(source);
    return 0;
}
