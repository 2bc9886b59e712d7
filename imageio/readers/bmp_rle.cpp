// RLE4 and RLE8 pixel data.
#include "imageio/buffer.h"
#include "imageio/readers/bmp_format.h"

#include <cstring>

namespace {

// Hands out the source's bytes one at a time from a block buffer.
class byte_reader {
public:
    explicit byte_reader(CISIO& io) : io_(io) {}

    bool next(uint8_t* byte)
    {
        if (at_ == got_) {
            got_ = io_.read(block_, sizeof block_);
            at_ = 0;
            if (got_ == 0)
                return false;
        }
        *byte = block_[at_++];
        return true;
    }

private:
    CISIO& io_;
    uint8_t block_[4096];
    uint32_t at_ = 0;
    uint32_t got_ = 0;
};

// Writes palette indices into the output, dropping what falls outside it.
class rle_canvas {
public:
    rle_canvas(const bmp_info& info, uint8_t* pixels, uint32_t out_bytes)
        : info_(info), pixels_(pixels), out_bytes_(out_bytes), row_(int64_t(info.rows) - 1)
    {
    }

    void put(uint32_t index)
    {
        if (row_ >= 0 && column_ < info_.width) {
            uint8_t* at = pixels_ + ((uint64_t)row_ * (uint32_t)info_.width + (uint64_t)column_) * out_bytes_;
            if (out_bytes_ == 1) {
                *at = (uint8_t)index;
            } else {
                const uint8_t* entry = info_.palette + 4 * index;
                at[0] = entry[2];
                at[1] = entry[1];
                at[2] = entry[0];
            }
        }
        ++column_;
    }

    void move(uint32_t right, uint32_t down)
    {
        column_ += right;
        row_ -= down;
    }

    void next_line()
    {
        --row_;
        column_ = 0;
    }

    // Rows finished so far, for the abort callback.
    uint32_t rows_done() const
    {
        const int64_t done = int64_t(info_.rows) - 1 - row_;
        return done > int64_t(info_.rows) ? info_.rows : (uint32_t)done;
    }

private:
    const bmp_info& info_;
    uint8_t* pixels_;
    uint32_t out_bytes_;
    int64_t row_;
    int64_t column_ = 0;
};

void fill_background(const bmp_info& info, uint8_t* pixels, uint64_t count, uint32_t out_bytes)
{
    if (out_bytes == 1)
        return;  // indices start at 0, as allocated
    const uint8_t colour[4] = {info.palette[2], info.palette[1], info.palette[0], 255};
    for (uint64_t i = 0; i < count; ++i)
        std::memcpy(pixels + i * out_bytes, colour, out_bytes);
}

// Decodes until the end code; false when the data ends first.
bool decode(read_context& context, const bmp_info& info, rle_canvas& canvas)
{
    byte_reader in(context.io);
    const bool rle8 = info.bit_count == 8;
    uint8_t count, value;
    for (;;) {
        if (!in.next(&count) || !in.next(&value))
            return false;
        if (count > 0) {
            for (uint32_t k = 0; k < count; ++k)
                canvas.put(rle8 ? value : (k & 1) ? value & 15 : value >> 4);
            continue;
        }
        switch (value) {
        case 0:
            canvas.next_line();
            if (context.cancelled(canvas.rows_done(), info.rows))
                return true;
            break;
        case 1:
            return true;
        case 2: {
            uint8_t dx, dy;
            if (!in.next(&dx) || !in.next(&dy))
                return false;
            canvas.move(dx, dy);
            if (dy && context.cancelled(canvas.rows_done(), info.rows))
                return true;
            break;
        }
        default: {
            // Literal pixels, padded to a whole number of 16-bit words.
            const uint32_t bytes = rle8 ? value : (value + 1u) / 2;
            uint8_t byte = 0;
            for (uint32_t k = 0; k < value; ++k) {
                if (rle8 || !(k & 1)) {
                    if (!in.next(&byte))
                        return false;
                }
                canvas.put(rle8 ? byte : (k & 1) ? byte & 15 : byte >> 4);
            }
            if ((bytes & 1) && !in.next(&byte))
                return false;
            break;
        }
        }
    }
}

}  // namespace

owned_buffer bmp_decode_rle(read_context& context, const bmp_info& info, uint32_t out_bytes)
{
    if (!bmp_is_rle(info))
        return context.fail(IS_ERR_BMP_RLE_MISMATCH);
    uint64_t pixels = 0;
    if (!is_buffer_size((uint32_t)info.width, info.rows, &pixels))
        return context.fail(IS_ERR_NO_MEMORY);
    owned_buffer buffer = alloc_pixels(pixels, out_bytes);
    if (!buffer)
        return context.fail(IS_ERR_NO_MEMORY);
    fill_background(info, buffer.get(), pixels, out_bytes);
    rle_canvas canvas(info, buffer.get(), out_bytes);
    if (!decode(context, info, canvas))
        context.error = IS_ERR_READ;
    return buffer;
}
