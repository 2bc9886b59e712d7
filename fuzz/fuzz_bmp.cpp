// Fuzzes the BMP reader at every depth and as a packed bitmap.
#include "fuzz/fuzz_common.h"

#include <cstring>

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
        fuzz_check_and_free(buffer, fuzz_buffer_bytes(width, height, depth));
    }
    is_seek(source, 0, 0);
    uint32_t width = 0, height = 0;
    uint8_t* dib = is_read_bmp(source, &width, &height, 0, nullptr, IS_FLAG_PACKED_DIB);
    if (dib) {
        // The header, palette or masks and rows the bitmap declares must all be there.
        uint32_t image = 0, used = 0;
        std::memcpy(&image, dib + 20, 4);
        std::memcpy(&used, dib + 32, 4);
        const uint16_t bits = (uint16_t)(dib[14] | dib[15] << 8);
        const uint32_t compression = dib[16];
        const uint64_t entries = bits <= 8 ? (used ? used : 1u << bits) : 0;
        const uint64_t masks = (compression == 3 && (bits == 16 || bits == 32)) ? 12 : 0;
        fuzz_check_and_free(dib, 40 + entries * 4 + masks + image);
    }
    is_close_source(source);
    return 0;
}
