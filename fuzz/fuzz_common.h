// What the fuzz targets share: a small buffer limit, so that a hostile size
// fails fast instead of committing gigabytes, and a check that every buffer
// handed back is as long as its size, or a packed bitmap's header, says.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <cstdint>

#include "imageio/buffer.h"
#include "imageio/imageio.h"
#include "tests/imageio/buffer_bytes.h"

inline void fuzz_setup()
{
    static const bool done = [] {
        is_set_buffer_limit(4u << 20);
        return true;
    }();
    (void)done;
}

// A memory source over the input, or null for inputs a source cannot hold.
inline ISSourceRecord* fuzz_open(const uint8_t* data, size_t size)
{
    fuzz_setup();
    if (size == 0 || size > 0xFFFFFFFFu)
        return nullptr;
    return is_open_memory_source(data, (uint32_t)size);
}

// Touches the first and last byte the buffer must hold, then frees it.
inline void fuzz_check_and_free(uint8_t* buffer, uint64_t bytes)
{
    if (!buffer)
        return;
    volatile uint8_t sink = 0;
    if (bytes > 0) {
        sink = sink + buffer[0];
        sink = sink + buffer[bytes - 1];
    }
    is_global_free(buffer);
}

// The same for a packed bitmap, as long as its header declares.
inline void fuzz_check_dib_and_free(uint8_t* dib)
{
    fuzz_check_and_free(dib, dib ? packed_dib_bytes(dib) : 0);
}
