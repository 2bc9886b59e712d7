// GIF image data: codes of growing width packed into sub-blocks, the LZW
// string table, and the rows they fill.
#include "imageio/readers/gif_format.h"

namespace {

constexpr uint32_t max_codes = 4096;
constexpr uint32_t max_code_width = 12;
constexpr uint32_t stack_size = 8192;

// Codes read least significant bit first across sub-block boundaries.
class code_reader {
public:
    explicit code_reader(byte_stream& in) : in_(in) {}

    // The next code of the given width, or -1 when the data ends.
    int32_t next(uint32_t width)
    {
        while (count_ < width) {
            uint8_t byte;
            if (!next_byte(&byte))
                return -1;
            bits_ |= (uint32_t)byte << count_;
            count_ += 8;
        }
        const int32_t code = (int32_t)(bits_ & ((1u << width) - 1));
        bits_ >>= width;
        count_ -= width;
        return code;
    }

    // Consumes the sub-blocks up to and including the terminating empty one.
    void drain()
    {
        while (!ended_) {
            if (left_ && !in_.skip(left_))
                return;
            left_ = 0;
            uint8_t length;
            if (!in_.next(&length) || length == 0)
                ended_ = true;
            left_ = length;
        }
    }

private:
    bool next_byte(uint8_t* byte)
    {
        while (left_ == 0) {
            uint8_t length;
            if (ended_ || !in_.next(&length) || length == 0) {
                ended_ = true;
                return false;
            }
            left_ = length;
        }
        if (!in_.next(byte)) {
            ended_ = true;
            return false;
        }
        --left_;
        return true;
    }

    byte_stream& in_;
    uint32_t bits_ = 0;
    uint32_t count_ = 0;
    uint32_t left_ = 0;  // bytes left in the current sub-block
    bool ended_ = false;
};

struct lzw_table {
    uint16_t prefix[max_codes];
    uint8_t suffix[max_codes];
    uint8_t stack[stack_size];
};

}  // namespace

bool gif_canvas::put(uint8_t index)
{
    if (rows_done_ >= height_ || cancelled_)
        return false;
    pixels_[(uint64_t)row_ * width_ + x_] = index;
    if (++x_ < width_)
        return true;
    x_ = 0;
    ++rows_done_;
    if (context_.cancelled(rows_done_, height_)) {
        cancelled_ = true;
        return false;
    }
    if (rows_done_ == height_)
        return false;
    next_row();
    return true;
}

void gif_canvas::next_row()
{
    if (!interlaced_) {
        ++row_;
        return;
    }
    static const uint32_t first_row[4] = {0, 4, 2, 1};
    static const uint32_t step[4] = {8, 8, 4, 2};
    row_ += step[pass_];
    // Passes whose first row lies beyond the height are skipped.
    while (row_ >= height_ && pass_ < 3)
        row_ = first_row[++pass_];
    if (row_ >= height_)
        rows_done_ = height_;
}

void gif_decode_lzw(byte_stream& in, uint32_t min_code_size, gif_canvas& canvas)
{
    code_reader codes(in);
    lzw_table table;
    const uint32_t clear = 1u << min_code_size;
    const uint32_t end = clear + 1;
    uint32_t next_free = clear + 2;
    uint32_t width = min_code_size + 1;
    int32_t previous = -1;
    uint8_t first = 0;  // first byte of the previous code's string

    for (;;) {
        const int32_t read = codes.next(width);
        if (read < 0)
            return;
        const uint32_t code = (uint32_t)read;
        if (code == clear) {
            next_free = clear + 2;
            width = min_code_size + 1;
            previous = -1;
            continue;
        }
        if (code == end) {
            codes.drain();
            return;
        }
        // Roots above 255 (code sizes over 8) name no palette index.
        if (code < clear && code > 255)
            return;
        uint32_t depth = 0;
        if (previous < 0) {
            // After a clear only single bytes are known.
            if (code > clear)
                return;
            table.stack[depth++] = (uint8_t)code;
            first = (uint8_t)code;
        } else {
            // A code beyond the next free one names no string.
            if (code > next_free || (code == next_free && next_free >= max_codes))
                return;
            uint32_t walk = code;
            if (code == next_free) {
                table.stack[depth++] = first;
                walk = (uint32_t)previous;
            }
            // Every entry's prefix is a smaller code, so the walk ends; the
            // stack bound guards the table's own consistency.
            while (walk > end) {
                if (depth >= stack_size - 1)
                    return;
                table.stack[depth++] = table.suffix[walk];
                walk = table.prefix[walk];
            }
            table.stack[depth++] = (uint8_t)walk;
            first = (uint8_t)walk;
            // A full table takes no more entries; decoding goes on with the
            // codes it has until the encoder sends a clear.
            if (next_free < max_codes) {
                table.prefix[next_free] = (uint16_t)previous;
                table.suffix[next_free] = first;
                ++next_free;
                if (next_free == (1u << width) && width < max_code_width)
                    ++width;
            }
        }
        previous = (int32_t)code;
        while (depth > 0)
            if (!canvas.put(table.stack[--depth]))
                return;
    }
}
