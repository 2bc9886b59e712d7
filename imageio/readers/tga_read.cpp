// TGA pixel data: raw or run-length values, rows either way up, into
// indices, red-green-blue or red-green-blue-alpha.
#include "imageio/buffer.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/tga.h"
#include "imageio/readers/tga_format.h"

#include <cstring>

namespace {

// Hands out stored values one at a time. Run-length packets may run on
// from one row into the next.
class tga_values {
public:
    tga_values(byte_stream& in, uint32_t bytes, bool rle) : in_(in), bytes_(bytes), rle_(rle) {}

    bool next(uint8_t* value)
    {
        if (!rle_)
            return in_.read(value, bytes_);
        if (left_ == 0) {
            uint8_t packet;
            if (!in_.next(&packet))
                return false;
            run_ = (packet & 0x80) != 0;
            left_ = (packet & 0x7F) + 1u;
            if (run_ && !in_.read(run_value_, bytes_))
                return false;
        }
        --left_;
        if (run_) {
            std::memcpy(value, run_value_, bytes_);
            return true;
        }
        return in_.read(value, bytes_);
    }

private:
    byte_stream& in_;
    uint32_t bytes_;
    bool rle_;
    bool run_ = false;
    uint32_t left_ = 0;
    uint8_t run_value_[4] = {};
};

uint32_t stored_index(const uint8_t* value, uint32_t bytes)
{
    uint32_t index = 0;
    for (uint32_t i = bytes; i-- > 0;)
        index = index << 8 | value[i];
    return index;
}

// Decodes the pixel data at the source's position into out_bytes a pixel:
// 1 keeps the stored value (an index or grey level), 3 and 4 give red,
// green, blue (and alpha) through the colour map or the value's own colour.
// Rows stored bottom-up or right to left are put the right way round.
owned_buffer decode_pixels(read_context& context, byte_stream& in, const tga_header& header, const uint8_t* map,
                           uint32_t out_bytes)
{
    uint64_t row_bytes = 0;
    if (!is_buffer_size(header.width, out_bytes, &row_bytes))
        return context.fail(IS_ERR_NO_MEMORY);
    owned_buffer pixels = alloc_pixels(row_bytes, header.height);
    if (!pixels)
        return context.fail(IS_ERR_NO_MEMORY);
    tga_values values(in, header.pixel_bytes(), header.rle());
    int32_t error = IS_OK;
    for (uint32_t i = 0; i < header.height && error == IS_OK; ++i) {
        uint8_t* row = pixels.get() + (header.top_down() ? i : header.height - 1u - i) * row_bytes;
        for (uint32_t x = 0; x < header.width; ++x) {
            uint8_t* out = row + (uint64_t)(header.right_to_left() ? header.width - 1u - x : x) * out_bytes;
            uint8_t value[4] = {};
            if (!values.next(value)) {
                error = IS_ERR_READ;
                break;
            }
            if (out_bytes == 1) {
                *out = value[0];
                continue;
            }
            uint8_t bgra[4];
            if (header.mapped()) {
                // Values wider than a byte may point past the 256-entry table.
                const uint32_t index = stored_index(value, header.pixel_bytes());
                if (index > 255) {
                    error = IS_ERR_BAD_TGA;
                    break;
                }
                std::memcpy(bgra, map + 4 * index, 4);
            } else if (header.grey() && header.pixel_bits == 16) {
                tga_grey_alpha(value, bgra);
            } else {
                tga_colour(value, header.pixel_bytes(), bgra);
            }
            out[0] = bgra[2];
            out[1] = bgra[1];
            out[2] = bgra[0];
            if (out_bytes == 4)
                out[3] = bgra[3];
        }
        if (error == IS_OK && context.cancelled(i, header.height))
            error = IS_ERR_CANCELLED;
    }
    if (error != IS_OK)
        return context.fail(error);
    return pixels;
}

owned_buffer read_true_colour(read_context& context, const tga_header& header, int32_t depth)
{
    if (int32_t error = tga_check_header(header))
        return context.fail(error);
    byte_stream in(context.io);
    uint8_t map[1024] = {};
    if (int32_t error = tga_read_id_and_map(in, header, map))
        return context.fail(error);
    return decode_pixels(context, in, header, map, depth == 32 ? 4 : 3);
}

owned_buffer read_indexed(read_context& context, const tga_header& header, uint8_t* palette)
{
    if (header.pixel_bits > 8 || !(header.mapped() || header.grey()))
        return context.fail(IS_ERR_WRONG_DEPTH);
    if (int32_t error = tga_check_header(header))
        return context.fail(error);
    byte_stream in(context.io);
    std::memset(palette, 0, 1024);
    uint8_t map[1024] = {};
    if (int32_t error = tga_read_id_and_map(in, header, map))
        return context.fail(error);
    if (header.grey()) {
        for (uint32_t i = 0; i < 256; ++i) {
            std::memset(palette + 4 * i, (int)i, 3);
            palette[4 * i + 3] = 255;
        }
    } else {
        std::memcpy(palette, map, sizeof map);
    }
    return decode_pixels(context, in, header, map, 1);
}

}  // namespace

uint8_t* tga_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (!packed && depth != 8 && depth != 24 && depth != 32)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    if (!packed && depth == 8 && !palette)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    tga_header header;
    if (int32_t error = tga_read_header(context.io, &header))
        return context.fail(error);
    if (packed)
        depth = header.pixel_bits == 32 ? 32 : 24;

    owned_buffer pixels = depth == 8 ? read_indexed(context, header, palette) : read_true_colour(context, header, depth);
    if (!pixels)
        return nullptr;
    tga_trace_footer(context.io);
    const dib_shape shape{header.width, header.height, depth};
    if (packed && !(pixels = packed_dib_from_rows(pixels.get(), shape, nullptr, &context.error)))
        return nullptr;
    *width = header.width;
    *height = header.height;
    return pixels.release();
}

uint8_t* tga_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return tga_read(context, width, height, depth, palette, 0);
}

uint8_t* is_read_tga(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return tga_read(context, width, height, depth, palette, flags);
    });
}
