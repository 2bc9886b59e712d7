// Checks of the packed bitmaps the readers hand out: the header, the palette
// entries and the pixel bytes a bitmap declares must all lie inside it.
#pragma once
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_common.h"

// The length a packed bitmap made from rows declares: header, palette and
// padded rows.
inline uint64_t fuzz_packed_dib_bytes(const uint8_t* dib)
{
    uint32_t width = 0, height = 0, entries = 0;
    uint16_t bits = 0;
    std::memcpy(&width, dib + 4, 4);
    std::memcpy(&height, dib + 8, 4);
    std::memcpy(&bits, dib + 14, 2);
    std::memcpy(&entries, dib + 32, 4);
    return 40 + 4ull * entries + ((uint64_t)width * bits + 31) / 32 * 4 * height;
}

// For a codec reader's bitmap, whose header states its image size.
inline void fuzz_check_dib_and_free(uint8_t* dib)
{
    if (!dib)
        return;
    uint32_t image = 0, used = 0;
    std::memcpy(&image, dib + 20, 4);
    std::memcpy(&used, dib + 32, 4);
    fuzz_check_and_free(dib, 40 + 4ull * used + image);
}
