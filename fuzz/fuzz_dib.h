// The check of a packed bitmap made by a codec reader: its header, the
// palette entries it declares and the pixel bytes it declares must all lie
// inside the buffer.
#pragma once
#include <cstring>

#include "fuzz/fuzz_common.h"

inline void fuzz_check_dib_and_free(uint8_t* dib)
{
    if (!dib)
        return;
    uint32_t image = 0, used = 0;
    std::memcpy(&image, dib + 20, 4);
    std::memcpy(&used, dib + 32, 4);
    fuzz_check_and_free(dib, 40 + 4ull * used + image);
}
