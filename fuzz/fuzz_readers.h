// What the fuzz targets of the TGA, PCX and WBMP readers share: each reads
// the input at every depth it knows and as a packed bitmap.
#pragma once
#include "fuzz/fuzz_common.h"

#include <initializer_list>

using fuzz_read_fn = uint8_t* (*)(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth,
                                  uint8_t* palette, uint32_t flags);

inline void fuzz_reader(const uint8_t* data, size_t size, fuzz_read_fn read, std::initializer_list<int32_t> depths)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return;
    uint8_t palette[1024];
    for (int32_t depth : depths) {
        is_seek(source, 0, 0);
        uint32_t width = 0, height = 0;
        uint8_t* buffer = read(source, &width, &height, depth, palette, 0);
        fuzz_check_and_free(buffer, buffer_bytes(width, height, depth));
    }
    is_seek(source, 0, 0);
    uint32_t width = 0, height = 0;
    fuzz_check_dib_and_free(read(source, &width, &height, 0, nullptr, IS_FLAG_PACKED_DIB));
    is_close_source(source);
}
