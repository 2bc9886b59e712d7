// What the GIF reader's parts share: the canvas the decoder writes rows to,
// and the LZW decoder.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"
#include "imageio/readers/byte_stream.h"

// Takes decoded pixels left to right and moves to the next row at the end of
// each: in order, or in the four interlace passes. Asks the abort callback
// after each row.
class gif_canvas {
public:
    gif_canvas(read_context& context, uint8_t* pixels, uint32_t width, uint32_t height, bool interlaced)
        : context_(context), pixels_(pixels), width_(width), height_(height), interlaced_(interlaced)
    {
    }

    // False once every row is written or the read is cancelled.
    bool put(uint8_t index);
    bool cancelled() const { return cancelled_; }

private:
    void next_row();

    read_context& context_;
    uint8_t* pixels_;
    uint32_t width_;
    uint32_t height_;
    bool interlaced_;
    uint32_t x_ = 0;
    uint32_t row_ = 0;
    uint32_t rows_done_ = 0;
    uint32_t pass_ = 0;
    bool cancelled_ = false;
};

// Minimum code sizes the decoder takes: from 2, up to 11, whose clear and
// end codes already take the full 12 bits.
constexpr uint32_t gif_min_code_size = 2;
constexpr uint32_t gif_max_code_size = 11;

// Decodes the image data sub-blocks at the stream's position with the given
// minimum code size onto the canvas. Stops quietly when the data ends or
// breaks off, or at a code that names no string or a root that is no byte;
// after an end code the remaining sub-blocks are consumed.
void gif_decode_lzw(byte_stream& in, uint32_t min_code_size, gif_canvas& canvas);
