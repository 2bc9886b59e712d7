// PCX header and palette.
#include "imageio/bytes.h"
#include "imageio/readers/pcx.h"
#include "imageio/readers/pcx_format.h"

#include <cstring>

namespace {

constexpr uint32_t trailing_palette_size = 768;

void put_rgb(uint8_t* entry, const uint8_t* rgb)
{
    entry[0] = rgb[2];
    entry[1] = rgb[1];
    entry[2] = rgb[0];
    entry[3] = 0;
}

// The 256-entry palette after the 0x0C byte that ends the file, when there is one.
bool read_trailing_palette(CISIO& io, uint8_t* palette)
{
    const int64_t size = io.size();
    uint8_t tail[1 + trailing_palette_size];
    if (size < (int64_t)(pcx_header_size + sizeof tail) || !io.seek(size - (int64_t)sizeof tail, 0) ||
        !io.read_exactly(tail, sizeof tail) || tail[0] != 0x0C)
        return false;
    for (uint32_t i = 0; i < 256; ++i)
        put_rgb(palette + 4 * i, tail + 1 + 3 * i);
    return true;
}

}  // namespace

int32_t pcx_read_header(CISIO& io, pcx_header* header)
{
    uint8_t h[pcx_header_size];
    if (!io.read_exactly(h, sizeof h))
        return IS_ERR_BAD_PCX;
    header->bits_per_plane = h[3];
    header->planes = h[65];
    const int32_t width = (int32_t)le16(h + 8) - le16(h + 4) + 1;
    const int32_t height = (int32_t)le16(h + 10) - le16(h + 6) + 1;
    header->x_resolution = le16(h + 12);
    header->y_resolution = le16(h + 14);
    std::memcpy(header->header_palette, h + 16, sizeof header->header_palette);
    header->bytes_per_line = le16(h + 66);
    if (header->total_bits() < 1 || header->total_bits() > 32 || width < 1 || height < 1)
        return IS_ERR_BAD_PCX;
    header->width = (uint32_t)width;
    header->height = (uint32_t)height;
    // Planes of 1, 2, 4 or 8 bits are merged into pixels of up to 8 bits
    // (indices) or, three of 8 bits, into red, green and blue; wider pixels
    // would index past the palette.
    const uint8_t plane_bits = header->bits_per_plane;
    if ((plane_bits != 1 && plane_bits != 2 && plane_bits != 4 && plane_bits != 8) ||
        (header->total_bits() > 8 && !header->rgb()))
        return IS_ERR_BAD_PCX;
    // Each plane's line must hold the whole width.
    if (header->bytes_per_line < ((uint64_t)width * header->bits_per_plane + 7) / 8)
        return IS_ERR_BAD_PCX;
    return IS_OK;
}

void pcx_make_palette(CISIO& io, const pcx_header& header, uint8_t* palette)
{
    const uint32_t bits = header.total_bits();
    if (bits >= 8) {
        if (read_trailing_palette(io, palette))
            return;
        for (uint32_t i = 0; i < 256; ++i) {
            std::memset(palette + 4 * i, (int)i, 3);
            palette[4 * i + 3] = 0;
        }
        return;
    }
    std::memset(palette, 0, 1024);
    uint32_t entries;
    if (bits == 1 && header.planes == 1) {
        std::memset(palette + 4, 255, 3);
        entries = 2;
    } else {
        // The header holds 16 entries; larger palettes take only those.
        entries = (1u << bits) < 16 ? (1u << bits) : 16;
        for (uint32_t i = 0; i < entries; ++i)
            put_rgb(palette + 4 * i, header.header_palette + 3 * i);
    }
    for (uint32_t i = entries; i < 256; ++i)
        std::memcpy(palette + 4 * i, palette, 4);
}

bool pcx_query_header(read_context& context, pcx_header_query* query)
{
    pcx_header header;
    if (int32_t error = pcx_read_header(context.io, &header)) {
        context.error = error;
        return false;
    }
    query->width = header.width;
    query->height = header.height;
    query->total_bits = header.total_bits();
    query->x_resolution = header.x_resolution;
    query->y_resolution = header.y_resolution;
    return true;
}

int32_t pcx_suggest_depth(read_context& context)
{
    pcx_header_query query;
    if (!pcx_query_header(context, &query))
        return 0;
    if (query.total_bits == 1)
        return 1;
    return query.total_bits <= 8 ? 8 : 24;
}
