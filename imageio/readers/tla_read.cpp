// The TLA read: chunks, then the rows of the pixel blocks converted to the
// output mode.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/tla_format.h"

#include <cstring>

namespace {

uint32_t output_bytes(int32_t mode)
{
    switch (mode) {
    case TLA_MODE_INDEXED: return 1;
    case TLA_MODE_16: return 2;
    case TLA_MODE_24: return 3;
    default: return 4;
    }
}

// One stored pixel as red, green, blue, alpha.
void stored_rgba(const tla_info& info, const uint8_t* from, uint8_t* rgba)
{
    switch (info.pixel_format) {
    case TLA_INDEXED: {
        const uint8_t* entry = info.palette + 4 * from[0];
        rgba[0] = entry[2];
        rgba[1] = entry[1];
        rgba[2] = entry[0];
        rgba[3] = entry[3];
        break;
    }
    case TLA_RGB555: {
        const uint32_t v = le16(from);
        rgba[0] = (uint8_t)((v >> 7) & 0xF8);
        rgba[1] = (uint8_t)((v >> 2) & 0xF8);
        rgba[2] = (uint8_t)((v * 8) & 0xFF);
        rgba[3] = (v & 0x8000) ? 255 : 0;
        break;
    }
    case TLA_RGB:
        std::memcpy(rgba, from, 3);
        rgba[3] = 255;
        break;
    default:
        std::memcpy(rgba, from, 4);
        break;
    }
}

// Converts one stored row into the output mode.
void convert_row(const tla_info& info, int32_t mode, const uint8_t* stored, uint8_t* out)
{
    const uint32_t in_bytes = tla_pixel_bytes(info.pixel_format);
    const uint32_t out_bytes = output_bytes(mode);
    if (mode == TLA_MODE_INDEXED) {
        std::memcpy(out, stored, info.width);
        return;
    }
    for (uint32_t x = 0; x < info.width; ++x, stored += in_bytes, out += out_bytes) {
        if (mode == TLA_MODE_16 && info.pixel_format == TLA_RGB555) {
            std::memcpy(out, stored, 2);
            continue;
        }
        uint8_t rgba[4];
        stored_rgba(info, stored, rgba);
        if (mode == TLA_MODE_16) {
            // Opaque is bit 15: always for RGB, above half alpha for the others.
            const bool opaque = info.pixel_format == TLA_RGB || rgba[3] > 128;
            put_le16(out, (uint16_t)((rgba[0] >> 3) << 10 | (rgba[1] >> 3) << 5 | rgba[2] >> 3 | (opaque ? 0x8000 : 0)));
        } else {
            std::memcpy(out, rgba, out_bytes);
        }
    }
}

owned_buffer read_rows(read_context& context, const tla_info& info, int32_t mode)
{
    const uint32_t out_bytes = output_bytes(mode);
    owned_buffer buffer = alloc_pixels((uint64_t)info.width * out_bytes, info.height);
    if (!buffer)
        return context.fail(IS_ERR_NO_MEMORY);
    const uint32_t pixel_bytes = tla_pixel_bytes(info.pixel_format);
    tla_block_reader blocks(context.io, (uint32_t)info.width * pixel_bytes, pixel_bytes, info.height);
    int32_t error = blocks.start();
    for (uint32_t y = 0; y < info.height && error == IS_OK; ++y) {
        if (context.cancelled(y, info.height)) {
            error = IS_ERR_CANCELLED;
            break;
        }
        const uint8_t* stored = blocks.next_row(&error);
        if (stored)
            convert_row(info, mode, stored, buffer.get() + (uint64_t)y * info.width * out_bytes);
    }
    if (error != IS_OK)
        return context.fail(error);
    return buffer;
}

}  // namespace

uint8_t* tla_read(read_context& context, uint32_t* width, uint32_t* height, uint8_t* palette, int32_t mode,
                  uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (mode < TLA_MODE_INDEXED || mode > TLA_MODE_32 || (mode == TLA_MODE_INDEXED && !palette && !packed))
        return context.fail(IS_ERR_BAD_ARGUMENT);
    tla_info info;
    if (int32_t error = tla_read_header(context.io, &info))
        return context.fail(error);
    ISPtrVector<CFileDataTag>& tags = context.state->tags;
    tags.clear();
    if (int32_t error = tla_read_chunks(context.io, &info, &tags))
        return context.fail(error);
    if (mode == TLA_MODE_INDEXED && info.pixel_format != TLA_INDEXED)
        return context.fail(IS_ERR_PROTECTED_TLA);  // no decoder for this output

    owned_buffer buffer = read_rows(context, info, mode);
    if (!buffer)
        return nullptr;
    if (mode == TLA_MODE_INDEXED && palette)
        std::memcpy(palette, info.palette, sizeof info.palette);
    if (packed) {
        // A bitmap's palette has no alpha: its fourth bytes are 0.
        uint8_t dib_palette[1024];
        std::memcpy(dib_palette, info.palette, sizeof dib_palette);
        for (int i = 0; i < 256; ++i)
            dib_palette[4 * i + 3] = 0;
        const dib_shape shape{info.width, info.height, 8 * (int32_t)output_bytes(mode)};
        if (!(buffer = packed_dib_from_rows(buffer.get(), shape, dib_palette, &context.error)))
            return nullptr;
    }
    *width = info.width;
    *height = info.height;
    return buffer.release();
}

uint8_t* tla_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    const int32_t mode = depth == 8 ? TLA_MODE_INDEXED : depth == 32 ? TLA_MODE_32 : TLA_MODE_24;
    return tla_read(context, width, height, palette, mode, 0);
}

uint8_t* is_read_tla(ISSourceRecord* source, uint32_t* width, uint32_t* height, uint8_t* palette, int32_t mode,
                     uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return tla_read(context, width, height, palette, mode, flags);
    });
}
