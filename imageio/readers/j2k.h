// The JPEG 2000 module. It reads the library's sources only through a copy of
// the library's callback table, installed once with j2k_set_io_callbacks.
#pragma once
#include <cstdint>

#include "imageio/imageio.h"

// Copies the table when its size word is sizeof(is_io_callbacks); otherwise
// sets error 5 and returns false.
bool j2k_set_io_callbacks(const is_io_callbacks* table);

// Decodes a JP2 file or a J2K codestream from the source into a buffer of the
// given depth: 8 (grey), 16 (grey, 2 bytes a sample), 24 (RGB), 32 (RGBA),
// 48 or 64 (2 bytes a sample). Null on failure, with the error set through
// the table's set_last_error.
uint8_t* j2k_read(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, double scale,
                  uint32_t flags);

// The module's own last error on the calling thread: 0 after success, 1 no
// memory, 5 bad argument or a depth the image cannot be delivered at,
// 14 cancelled, 1000 decoding or component error.
int32_t j2k_get_last_error();
