// GIF file structure: header, screen, colour tables, extensions and the
// first image descriptor.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/gif.h"
#include "imageio/readers/gif_format.h"
#include "imageio/readers/packed_dib.h"

#include <cstring>

namespace {

enum : uint8_t {
    GIF_EXTENSION = 0x21,
    GIF_IMAGE = 0x2C,
    GIF_GRAPHIC_CONTROL = 0xF9,
    GIF_APPLICATION = 0xFF,
};

struct gif_state {
    uint8_t red[256] = {};
    uint8_t green[256] = {};
    uint8_t blue[256] = {};
    int32_t transparent = -1;
    // Kept from the last graphic control and application extensions; the
    // first image does not depend on them.
    uint32_t disposal = 0;
    uint32_t delay = 0;
    uint32_t loop_count = 0;
};

struct sub_block {
    uint8_t length = 0;
    uint8_t data[255];
};

// 0 (with the block; length 0 ends a run of sub-blocks) or 3.
int32_t read_sub_block(byte_stream& in, sub_block* block)
{
    if (!in.next(&block->length) || !in.read(block->data, block->length))
        return IS_ERR_READ;
    return IS_OK;
}

int32_t skip_sub_blocks(byte_stream& in)
{
    sub_block block;
    do {
        if (int32_t error = read_sub_block(in, &block))
            return error;
    } while (block.length != 0);
    return IS_OK;
}

bool read_colour_table(byte_stream& in, gif_state* state, uint32_t entries)
{
    uint8_t table[3 * 256];
    if (!in.read(table, 3 * entries))
        return false;
    for (uint32_t i = 0; i < entries; ++i) {
        state->red[i] = table[3 * i];
        state->green[i] = table[3 * i + 1];
        state->blue[i] = table[3 * i + 2];
    }
    return true;
}

int32_t read_extension(byte_stream& in, gif_state* state)
{
    uint8_t label;
    sub_block block;
    if (!in.next(&label) || read_sub_block(in, &block) != IS_OK)
        return IS_ERR_READ;
    if (block.length == 0)
        return IS_OK;
    if (label == GIF_GRAPHIC_CONTROL && block.length >= 4) {
        state->disposal = block.data[0] >> 2 & 7;
        state->delay = le16(block.data + 1);
        state->transparent = (block.data[0] & 1) ? block.data[3] : -1;
    } else if (label == GIF_APPLICATION && block.length == 11 && !std::memcmp(block.data, "NETSCAPE2.0", 11)) {
        if (read_sub_block(in, &block) != IS_OK)
            return IS_ERR_READ;
        if (block.length == 0)
            return IS_OK;
        if (block.length >= 3)
            state->loop_count = le16(block.data + 1);
    }
    return skip_sub_blocks(in);
}

// The palette as 256 entries of blue, green, red and 0 for the transparent
// index, 255 for the others.
void put_palette(const gif_state& state, uint8_t* palette)
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint8_t* entry = palette + 4 * i;
        entry[0] = state.blue[i];
        entry[1] = state.green[i];
        entry[2] = state.red[i];
        entry[3] = (int32_t)i == state.transparent ? 0 : 255;
    }
}

// The image after its descriptor: local table, code size, data.
owned_buffer read_image(read_context& context, byte_stream& in, gif_state* state, uint32_t* width, uint32_t* height)
{
    uint8_t descriptor[9];
    if (!in.read(descriptor, sizeof descriptor))
        return context.fail(IS_ERR_READ);
    const uint32_t w = le16(descriptor + 4);
    const uint32_t h = le16(descriptor + 6);
    const uint8_t flags = descriptor[8];
    if ((flags & 0x80) && !read_colour_table(in, state, 1u << ((flags & 7) + 1)))
        return context.fail(IS_ERR_BAD_GIF);
    // Decoding cannot start on an image of no pixels, nor with a code size
    // whose first codes would pass 12 bits.
    if (w == 0 || h == 0)
        return context.fail(IS_ERR_BAD_GIF);
    uint8_t min_code_size;
    if (!in.next(&min_code_size) || min_code_size < gif_min_code_size || min_code_size > gif_max_code_size)
        return context.fail(IS_ERR_BAD_GIF);
    owned_buffer pixels = alloc_pixels(w, h);
    if (!pixels)
        return context.fail(IS_ERR_NO_MEMORY);
    gif_canvas canvas(context, pixels.get(), w, h, (flags & 0x40) != 0);
    gif_decode_lzw(in, min_code_size, canvas);
    if (canvas.cancelled())
        return owned_buffer();
    *width = w;
    *height = h;
    return pixels;
}

owned_buffer read_first_image(read_context& context, gif_state* state, uint32_t* width, uint32_t* height)
{
    byte_stream in(context.io);
    uint8_t header[13];
    if (!in.read(header, sizeof header))
        return context.fail(IS_ERR_BAD_GIF);
    if (std::memcmp(header, "GIF87a", 6) != 0 && std::memcmp(header, "GIF89a", 6) != 0)
        return context.fail(IS_ERR_BAD_GIF);
    if (le16(header + 6) == 0 || le16(header + 8) == 0)
        return context.fail(IS_ERR_BAD_GIF);
    const uint8_t screen_flags = header[10];
    if ((screen_flags & 0x80) && !read_colour_table(in, state, 2u << (screen_flags & 7)))
        return context.fail(IS_ERR_BAD_GIF);

    // Blocks other than extensions and images (the trailer among them) are
    // passed over until the first image.
    uint8_t introducer;
    while (in.next(&introducer)) {
        if (introducer == GIF_EXTENSION) {
            if (int32_t error = read_extension(in, state))
                return context.fail(error);
        } else if (introducer == GIF_IMAGE) {
            return read_image(context, in, state, width, height);
        }
    }
    return context.fail(IS_ERR_READ);
}

}  // namespace

uint8_t* gif_read(read_context& context, uint32_t* width, uint32_t* height, int32_t* transparent, uint8_t* palette,
                  uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (!packed && !palette)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    gif_state state;
    uint32_t w = 0, h = 0;
    owned_buffer pixels = read_first_image(context, &state, &w, &h);
    if (!pixels)
        return nullptr;
    uint8_t colours[1024];
    put_palette(state, colours);
    if (packed) {
        if (!(pixels = packed_dib_from_rows(pixels.get(), {w, h, 8}, colours, &context.error)))
            return nullptr;
    } else {
        std::memcpy(palette, colours, sizeof colours);
    }
    if (transparent)
        *transparent = state.transparent;
    *width = w;
    *height = h;
    return pixels.release();
}

uint8_t* gif_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    if (depth != 8)
        return context.fail(IS_ERR_NO_READER);
    return gif_read(context, width, height, nullptr, palette, 0);
}

uint8_t* is_read_gif(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t* transparent,
                     uint8_t* palette, uint32_t flags)
{
    if (transparent)
        *transparent = -1;
    return run_read_entry(source, width, height, [&](read_context& context) {
        return gif_read(context, width, height, transparent, palette, flags);
    });
}
