// Pixel buffers handed to the caller: one zero-filled block from the global
// heap, never larger than is_buffer_limit bytes.
#pragma once
#include <cstdint>

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
