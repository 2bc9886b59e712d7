// PCX rows: run-length bytes into planes, planes into indices, colours or
// copied 1-bit rows.
#include "imageio/buffer.h"
#include "imageio/readers/byte_stream.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/pcx.h"
#include "imageio/readers/pcx_format.h"

#include <cstring>
#include <vector>

namespace {

// Run-length decoding: a byte of 0xC0 or more repeats the next byte as often
// as its low 6 bits say. A run may go on into the next row.
class pcx_runs {
public:
    explicit pcx_runs(byte_stream& in) : in_(in) {}

    bool fill(uint8_t* out, uint32_t count)
    {
        uint32_t done = 0;
        while (done < count) {
            if (left_ == 0) {
                uint8_t byte;
                if (!in_.next(&byte))
                    return false;
                if (byte < 0xC0) {
                    out[done++] = byte;
                    continue;
                }
                left_ = byte & 0x3Fu;
                if (!in_.next(&value_))
                    return false;
                continue;
            }
            const uint32_t n = left_ < count - done ? left_ : count - done;
            std::memset(out + done, value_, n);
            done += n;
            left_ -= n;
        }
        return true;
    }

private:
    byte_stream& in_;
    uint32_t left_ = 0;
    uint8_t value_ = 0;
};

// The value of pixel x over all planes of the line, plane 0 giving the low bits.
uint32_t merged_pixel(const uint8_t* line, const pcx_header& header, uint32_t x)
{
    const uint32_t bits = header.bits_per_plane;
    const uint64_t bit = (uint64_t)x * bits;
    const uint32_t shift = 8 - bits - (uint32_t)(bit % 8);
    const uint32_t mask = (1u << bits) - 1;
    uint32_t value = 0;
    for (uint32_t p = 0; p < header.planes; ++p) {
        const uint8_t byte = line[(uint64_t)p * header.bytes_per_line + bit / 8];
        value |= (byte >> shift & mask) << (p * bits);
    }
    return value;
}

void convert_line(const uint8_t* line, const pcx_header& header, const uint8_t* palette, int32_t depth,
                  uint8_t* out)
{
    const uint32_t width = header.width;
    if (depth == 1) {
        std::memcpy(out, line, ((size_t)width + 7) / 8);
    } else if (depth == 8) {
        for (uint32_t x = 0; x < width; ++x)
            out[x] = (uint8_t)merged_pixel(line, header, x);
    } else if (header.rgb()) {
        const uint32_t bpl = header.bytes_per_line;
        for (uint32_t x = 0; x < width; ++x, out += 3) {
            out[0] = line[x];
            out[1] = line[bpl + x];
            out[2] = line[2 * bpl + x];
        }
    } else {
        for (uint32_t x = 0; x < width; ++x, out += 3) {
            const uint8_t* entry = palette + 4 * merged_pixel(line, header, x);
            out[0] = entry[2];
            out[1] = entry[1];
            out[2] = entry[0];
        }
    }
}

// Decodes the rows from offset 128 at depth 1, 8 or 24.
owned_buffer decode_rows(read_context& context, const pcx_header& header, const uint8_t* palette, int32_t depth)
{
    const uint64_t row_bytes = packed_row_bytes(header.width, depth);
    uint64_t total = 0;
    if (!is_buffer_size(row_bytes, header.height, &total))
        return context.fail(IS_ERR_NO_MEMORY);
    if (!context.io.seek(pcx_header_size, 0))
        return context.fail(IS_ERR_READ);
    owned_buffer pixels = alloc_pixels(row_bytes, header.height);
    if (!pixels)
        return context.fail(IS_ERR_NO_MEMORY);
    std::vector<uint8_t> line((size_t)header.planes * header.bytes_per_line);
    byte_stream in(context.io);
    pcx_runs runs(in);
    for (uint32_t y = 0; y < header.height; ++y) {
        if (!runs.fill(line.data(), (uint32_t)line.size()))
            return context.fail(IS_ERR_READ);
        convert_line(line.data(), header, palette, depth, pixels.get() + y * row_bytes);
        if (context.cancelled(y, header.height))
            return owned_buffer();
    }
    return pixels;
}

}  // namespace

uint8_t* pcx_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (!packed && depth != 1 && depth != 8 && depth != 24)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    if (!packed && depth != 24 && !palette)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    pcx_header header;
    if (int32_t error = pcx_read_header(context.io, &header))
        return context.fail(error);
    int32_t dib_depth = 0;
    if (packed) {
        dib_depth = (int32_t)header.total_bits();
        if (dib_depth != 1 && dib_depth != 4 && dib_depth != 8 && dib_depth != 24)
            return context.fail(IS_ERR_BAD_ARGUMENT);
        depth = dib_depth == 4 ? 8 : dib_depth;
    } else if ((uint32_t)depth < header.total_bits()) {
        return context.fail(IS_ERR_WRONG_DEPTH);
    }

    uint8_t colours[1024];
    pcx_make_palette(context.io, header, colours);
    owned_buffer pixels = decode_rows(context, header, colours, depth);
    if (!pixels)
        return nullptr;
    if (packed) {
        const dib_shape shape{header.width, header.height, dib_depth};
        if (!(pixels = packed_dib_from_rows(pixels.get(), shape, colours, &context.error)))
            return nullptr;
    } else if (depth == 1 || depth == 8) {
        std::memcpy(palette, colours, depth == 1 ? 8 : sizeof colours);
    }
    *width = header.width;
    *height = header.height;
    return pixels.release();
}

uint8_t* pcx_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return pcx_read(context, width, height, depth, palette, 0);
}

uint8_t* is_read_pcx(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return pcx_read(context, width, height, depth, palette, flags);
    });
}
