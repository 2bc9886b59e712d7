// Reads through the entry points of the TGA, PCX and WBMP readers, which
// share one form: source, width, height, depth, palette, flags.
#pragma once
#include <cstdint>
#include <vector>

#include "tests/imageio/test_support.h"

using format_read_fn = uint8_t* (*)(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth,
                                    uint8_t* palette, uint32_t flags);

// The buffer's bytes as its size and depth say, or, with IS_FLAG_PACKED_DIB,
// the whole packed bitmap as its header says.
read_result read_format(format_read_fn read, const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0,
                        bool with_palette = true);

// Bytes of a packed bitmap as its header gives them: header, colours used
// and image size.
uint64_t packed_dib_declared_bytes(const uint8_t* dib);

// Returns 0 (stop) at the given step, 1 before it; set with is_set_abort_callback.
struct abort_at {
    int32_t step;
    int32_t calls = 0;
};
int32_t abort_at_step(int32_t step, int32_t total, void* user);
