// WBMP header and rows.
#include "imageio/readers/wbmp.h"

#include "imageio/buffer.h"
#include "imageio/readers/byte_stream.h"
#include "imageio/readers/packed_dib.h"

#include <cstring>

namespace {

// A multi-byte integer: 7 bits a byte, most significant group first, bit 7
// set on every byte but the last. Values that do not fit 32 bits are refused.
int32_t read_multibyte(byte_stream& in, uint32_t* value)
{
    uint32_t v = 0;
    for (;;) {
        uint8_t byte;
        if (!in.next(&byte))
            return IS_ERR_READ;
        if (v >> 25)
            return IS_ERR_BAD_WBMP;
        v = v << 7 | (byte & 0x7Fu);
        if (!(byte & 0x80))
            break;
    }
    *value = v;
    return IS_OK;
}

int32_t read_header(byte_stream& in, wbmp_header_query* query)
{
    uint8_t type[2];
    if (!in.read(type, sizeof type))
        return IS_ERR_READ;
    if (type[0] != 0 || type[1] != 0)
        return IS_ERR_BAD_WBMP;
    if (int32_t error = read_multibyte(in, &query->width))
        return error;
    if (int32_t error = read_multibyte(in, &query->height))
        return error;
    return query->width && query->height ? IS_OK : IS_ERR_BAD_WBMP;
}

void set_palette(uint8_t* palette, uint32_t bytes)
{
    std::memset(palette, 0, bytes);
    std::memset(palette + 4, 255, 4);
}

}  // namespace

bool wbmp_query_header(read_context& context, wbmp_header_query* query)
{
    byte_stream in(context.io);
    if (int32_t error = read_header(in, query)) {
        context.error = error;
        return false;
    }
    return true;
}

uint8_t* wbmp_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                   uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (packed)
        depth = 1;
    else if ((depth != 1 && depth != 8) || !palette)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    byte_stream in(context.io);
    wbmp_header_query header;
    if (int32_t error = read_header(in, &header))
        return context.fail(error);

    const uint64_t stored_bytes = ((uint64_t)header.width + 7) / 8;
    const uint64_t row_bytes = depth == 1 ? stored_bytes : header.width;
    owned_buffer pixels = alloc_pixels(row_bytes, header.height);
    if (!pixels)
        return context.fail(IS_ERR_NO_MEMORY);
    for (uint32_t y = 0; y < header.height; ++y) {
        uint8_t* out = pixels.get() + y * row_bytes;
        bool complete = true;
        if (depth == 1) {
            complete = in.read(out, stored_bytes);
        } else {
            for (uint32_t x = 0; x < header.width && complete; x += 8) {
                uint8_t bits;
                complete = in.next(&bits);
                for (uint32_t b = 0; complete && b < 8 && x + b < header.width; ++b)
                    out[x + b] = bits >> (7 - b) & 1;
            }
        }
        if (!complete)
            return context.fail(IS_ERR_READ);
        if (context.cancelled(y, header.height))
            return nullptr;
    }
    if (packed) {
        uint8_t colours[8];
        set_palette(colours, sizeof colours);
        if (!(pixels = packed_dib_from_rows(pixels.get(), {header.width, header.height, 1}, colours, &context.error)))
            return nullptr;
    } else {
        set_palette(palette, depth == 1 ? 8 : 1024);
    }
    *width = header.width;
    *height = header.height;
    return pixels.release();
}

uint8_t* wbmp_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return wbmp_read(context, width, height, depth, palette, 0);
}

uint8_t* is_read_wbmp(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                      uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return wbmp_read(context, width, height, depth, palette, flags);
    });
}
