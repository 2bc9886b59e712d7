// What the BMP reader's parts share: the parsed headers, the palette, and the
// conversion of one stored row.
#pragma once
#include <cstdint>

#include "imageio/buffer.h"
#include "imageio/read_context.h"

enum : uint32_t { BMP_RGB = 0, BMP_RLE8 = 1, BMP_RLE4 = 2, BMP_BITFIELDS = 3 };

constexpr uint32_t bmp_file_header_size = 14;
constexpr uint32_t bmp_windows_header_size = 40;
constexpr uint32_t bmp_os2_header_size = 12;

struct bmp_info {
    uint32_t off_bits;
    uint32_t header_size;         // 40 (Windows) or 12 (OS/2)
    uint8_t header[40];           // the Windows header as stored, or one built from the OS/2 header
    int32_t width;
    int32_t height;               // as stored: negative when the first stored row is the top row
    uint32_t rows;                // |height|
    bool top_down;
    uint16_t bit_count;
    uint32_t compression;
    uint32_t image_size;
    int32_t x_pels_per_meter;
    int32_t y_pels_per_meter;
    uint32_t colors_used;
    bool has_masks;
    uint32_t masks[3];            // red, green, blue
    uint8_t palette[1024];        // blue, green, red, 0; entries past the file's copy entry 0
};

// Reads the file header and the info header (Windows or OS/2), leaving the
// source just after the info header. Returns 0 or the error code.
int32_t bmp_read_headers(CISIO& io, bmp_info* info);

bool bmp_is_rle(const bmp_info& info);
// Entries the file declares: colours used, or 2 to the bit count (none above 31 bits).
uint64_t bmp_declared_colors(const bmp_info& info);
// Reads up to 256 palette entries of 4 bytes (3 for OS/2) into info->palette,
// filling the rest with entry 0. Returns 0 or 3.
int32_t bmp_read_palette(CISIO& io, bmp_info* info, uint64_t entries);

// Bytes of one stored row, padded to 4; false when it passes the buffer limit.
bool bmp_stored_row_bytes(uint32_t width, uint16_t bit_count, uint64_t* bytes);

// Converts a stored row to red, green, blue (and alpha when out_bytes is 4).
void bmp_row_to_rgb(const bmp_info& info, const uint8_t* stored, uint8_t* out, uint32_t out_bytes);
// Converts a stored row of at most 8 bits to one index a byte.
void bmp_row_to_indices(const bmp_info& info, const uint8_t* stored, uint8_t* out);

// RLE4 or RLE8 pixel data from the current position into a buffer of
// 1 (indices), 3 or 4 bytes a pixel. Sets context.error to 3 when the data
// ends before its end code and to 14 when cancelled; the buffer is returned
// in every case but no memory.
owned_buffer bmp_decode_rle(read_context& context, const bmp_info& info, uint32_t out_bytes);

// The file's packed device-independent bitmap.
uint8_t* bmp_read_packed(read_context& context, bmp_info& info, uint32_t* width, uint32_t* height);
