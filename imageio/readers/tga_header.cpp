// TGA header, colour map, colours and footer.
#include "imageio/bytes.h"
#include "imageio/readers/tga.h"
#include "imageio/readers/tga_format.h"
#include "imageio/trace.h"

#include <cstring>

namespace {

constexpr uint32_t footer_size = 26;
constexpr uint32_t extension_size = 495;
const char footer_signature[] = "TRUEVISION-XFILE.";

bool known_map_entry(uint8_t bits)
{
    return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

int32_t tga_read_header(CISIO& io, tga_header* header)
{
    uint8_t h[tga_header_size];
    if (!io.read_exactly(h, sizeof h))
        return IS_ERR_READ;
    header->id_length = h[0];
    header->map_type = h[1];
    header->image_type = h[2];
    header->map_first = le16(h + 3);
    header->map_length = le16(h + 5);
    header->map_entry_bits = h[7];
    header->width = le16(h + 12);
    header->height = le16(h + 14);
    header->pixel_bits = h[16];
    header->descriptor = h[17];
    return IS_OK;
}

int32_t tga_check_header(const tga_header& header)
{
    switch (header.image_type) {
    case TGA_MAPPED: case TGA_TRUE_COLOUR: case TGA_GREY:
    case TGA_MAPPED_RLE: case TGA_TRUE_COLOUR_RLE: case TGA_GREY_RLE:
        break;
    default:
        return IS_ERR_BAD_TGA;
    }
    if (header.pixel_bits < 8 || header.pixel_bits > 32)
        return IS_ERR_BAD_TGA;
    if (header.map_type > 1 || (header.map_type == 1 && !known_map_entry(header.map_entry_bits)))
        return IS_ERR_BAD_TGA;
    // A colour-mapped picture without its map has no colours to give.
    if (header.mapped() && header.map_type != 1)
        return IS_ERR_BAD_TGA;
    if (header.width == 0 || header.height == 0)
        return IS_ERR_BAD_TGA;
    return IS_OK;
}

int32_t tga_read_id_and_map(byte_stream& in, const tga_header& header, uint8_t* palette)
{
    if (!in.skip(header.id_length))
        return IS_ERR_READ;
    if (header.map_type != 1)
        return IS_OK;
    const uint32_t entry_bytes = (header.map_entry_bits + 7u) / 8u;
    for (uint32_t i = 0; i < header.map_length; ++i) {
        uint8_t value[4];
        if (!in.read(value, entry_bytes))
            return IS_ERR_READ;
        // The table has 256 places; entries the map puts beyond them are dropped.
        const uint32_t position = header.map_first + i;
        if (position < 256)
            tga_colour(value, entry_bytes, palette + 4 * position);
    }
    return IS_OK;
}

void tga_colour(const uint8_t* value, uint32_t bytes, uint8_t* bgra)
{
    switch (bytes) {
    case 1:
        bgra[0] = bgra[1] = bgra[2] = value[0];
        bgra[3] = 255;
        break;
    case 2: {
        // Five bits a channel, the top bit ignored, low bits left 0.
        const uint16_t v = le16(value);
        bgra[0] = (uint8_t)((v & 31) * 8);
        bgra[1] = (uint8_t)((v >> 5 & 31) * 8);
        bgra[2] = (uint8_t)((v >> 10 & 31) * 8);
        bgra[3] = 255;
        break;
    }
    case 3:
        std::memcpy(bgra, value, 3);
        bgra[3] = 255;
        break;
    default:
        std::memcpy(bgra, value, 4);
        break;
    }
}

void tga_grey_alpha(const uint8_t* value, uint8_t* bgra)
{
    bgra[0] = bgra[1] = bgra[2] = value[0];
    bgra[3] = value[1];
}

void tga_trace_footer(CISIO& io)
{
    const int64_t size = io.size();
    uint8_t footer[footer_size];
    if (size < (int64_t)footer_size || !io.seek(size - footer_size, 0) || !io.read_exactly(footer, footer_size))
        return;
    if (std::memcmp(footer + 8, footer_signature, sizeof footer_signature - 1) != 0)
        return;
    is_trace(3, "Found TGA footer\n");
    const uint32_t extension = le32(footer);
    if (extension) {
        uint8_t area[extension_size];
        if (io.seek(extension, 0) && io.read_exactly(area, extension_size))
            is_trace(3, "Found TGA extension\n");
    }
    if (le32(footer + 4))
        is_trace(3, "TGA has developer ext\n");
}

bool tga_query_header(read_context& context, tga_header_query* query)
{
    tga_header header;
    if (int32_t error = tga_read_header(context.io, &header)) {
        context.error = error;
        return false;
    }
    query->width = header.width;
    query->height = header.height;
    query->pixel_depth = header.pixel_bits;
    return true;
}

int32_t tga_suggest_depth(read_context& context)
{
    tga_header_query query;
    if (!tga_query_header(context, &query))
        return 0;
    if (query.pixel_depth > 8)
        return query.pixel_depth == 32 ? 32 : 24;
    return 8;
}
