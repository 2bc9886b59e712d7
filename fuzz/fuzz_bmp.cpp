// Fuzzes the BMP reader at every depth and as a packed bitmap.
#include "fuzz/fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    uint8_t palette[1024];
    for (int32_t depth : {1, 8, 24, 32}) {
        is_seek(source, 0, 0);
        uint32_t width = 0, height = 0;
        uint8_t* buffer = is_read_bmp(source, &width, &height, depth, palette, 0);
        fuzz_check_and_free(buffer, buffer_bytes(width, height, depth));
    }
    is_seek(source, 0, 0);
    uint32_t width = 0, height = 0;
    // The header, palette or masks and rows the bitmap declares must all be there.
    fuzz_check_dib_and_free(is_read_bmp(source, &width, &height, 0, nullptr, IS_FLAG_PACKED_DIB));
    is_close_source(source);
    return 0;
}
