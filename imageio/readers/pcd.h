// The Photo CD image pack reader: resolutions 1 to 3 from stored luma and
// chroma planes, 4 and 5 from an upsampled smaller resolution plus
// Huffman-coded differences, 6 upsampled from 5; YCC to RGB through a tone
// table, then the picture's rotation.
#pragma once
#include <cstdint>

#include "imageio/buffer.h"
#include "imageio/read_context.h"

constexpr uint32_t pcd_sector_bytes = 2048;

// Reads one resolution (below 1 reads 1, above 5 reads 6) into 24-bit rows,
// or with IS_FLAG_PACKED_DIB a packed 24-bit bitmap; width and height are
// the size after rotation.
uint8_t* pcd_read(read_context& context, uint32_t* width, uint32_t* height, int32_t resolution, uint32_t flags);

// The generic read's row: resolution 3 at depth 24.
uint8_t* pcd_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

// Size of a resolution before rotation.
void pcd_size(int32_t resolution, uint32_t* width, uint32_t* height);

// The luma plane and the two chroma planes, each holding `stride` x `rows`
// bytes; chroma uses the top-left quarter until it is upsampled at the end.
struct pcd_planes {
    uint8_t* y;
    uint8_t* c1;
    uint8_t* c2;
    uint32_t stride;
    uint32_t rows;
};

// Doubles a w x h picture at the top left of a plane whose rows are `stride`
// bytes apart (at least 2w bytes and 2h rows) in place; new pixels are the
// rounded means of their neighbours.
void pcd_upsample(uint8_t* plane, uint32_t stride, uint32_t w, uint32_t h);

// Adds the Huffman-coded differences of a resolution (4 with one table, 5
// with three) to planes whose luma is width x height, reading from the
// current position. 0 or the error (3, 63).
int32_t pcd_add_differences(read_context& context, const pcd_planes& planes, uint32_t width, uint32_t height,
                            int table_count);

// The 351-entry tone table that maps the YCC conversion's range to bytes.
const uint8_t* pcd_tone_table();

// Converts interleaved Y, C1, C2 bytes to red, green, blue in place, row by
// row, asking the abort callback once a row. 0, 1 or 14.
int32_t pcd_ycc_to_rgb(read_context& context, uint8_t* pixels, uint32_t width, uint32_t height);

// The picture turned by its rotation code (1 a quarter turn counter-clockwise,
// 2 a half turn, 3 a quarter turn clockwise) into a new buffer; null when
// there is no memory. Width and height are swapped for codes 1 and 3.
owned_buffer pcd_rotate(const uint8_t* rgb, uint32_t* width, uint32_t* height, int rotation);
