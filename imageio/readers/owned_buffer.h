// A library buffer held by a reader until it is handed to the caller, so that
// every way out of a read (errors thrown from codec callbacks included) frees
// what is not handed on.
#pragma once
#include <cstdint>
#include <memory>

#include "imageio/buffer.h"

struct buffer_release {
    void operator()(uint8_t* buffer) const { is_free_buffer(buffer); }
};

using owned_buffer = std::unique_ptr<uint8_t, buffer_release>;

// A zero-filled buffer of row_bytes x rows bytes, or empty
// when the size overflows or passes the buffer limit.
owned_buffer alloc_pixels(uint64_t row_bytes, uint64_t rows);
