// Pixel buffers handed to the caller: one zero-filled block from the global
// heap, never larger than is_buffer_limit bytes.
#pragma once
#include <cstdint>
#include <memory>

constexpr uint64_t is_max_buffer_bytes = 2147348478u;

// Product of the factors, or false when it overflows or passes the limit.
bool is_buffer_size(uint64_t a, uint64_t b, uint64_t c, uint64_t* out);
inline bool is_buffer_size(uint64_t a, uint64_t b, uint64_t* out) { return is_buffer_size(a, b, 1, out); }

// A zero-filled buffer of size bytes, or null (no memory, or over the limit).
uint8_t* is_alloc_buffer(uint64_t size);
void is_free_buffer(void* buffer);

// The limit in force; tests and fuzz targets lower it so that hostile sizes
// fail fast instead of committing gigabytes. 0 restores the default.
uint64_t is_buffer_limit();
void is_set_buffer_limit(uint64_t limit);

struct buffer_release {
    void operator()(uint8_t* buffer) const { is_free_buffer(buffer); }
};

// A library buffer held until it is handed to the caller with release(), so
// that every way out of a read (errors thrown from codec callbacks included)
// frees what is not handed on.
using owned_buffer = std::unique_ptr<uint8_t, buffer_release>;

// A zero-filled buffer of row_bytes x rows bytes, or empty when the size
// overflows or passes the buffer limit.
owned_buffer alloc_pixels(uint64_t row_bytes, uint64_t rows);
