// PSD header, the sections before the pixel data, and the header query.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/iptc.h"
#include "imageio/readers/psd_format.h"

#include <cstring>

namespace {

bool mode_known(uint16_t mode)
{
    return mode <= PSD_CMYK || mode == PSD_DUOTONE;
}

// Bits per channel must suit the mode: bitmaps have 1, the others 8 or 16.
bool bits_fit_mode(uint16_t bits, uint16_t mode)
{
    if (mode == PSD_BITMAP)
        return bits == 1;
    return bits == 8 || bits == 16;
}

void grey_ramp(uint8_t* palette)
{
    for (int i = 0; i < 256; ++i) {
        uint8_t* entry = palette + 4 * i;
        entry[0] = entry[1] = entry[2] = (uint8_t)i;
        entry[3] = 0;
    }
}

}  // namespace

uint32_t psd_planes_used(uint16_t mode)
{
    switch (mode) {
    case PSD_RGB: return 3;
    case PSD_CMYK: return 4;
    default: return 1;
    }
}

int32_t psd_read_header(CISIO& io, psd_header* header)
{
    uint8_t h[26];
    if (!io.read_exactly(h, sizeof h))
        return IS_ERR_READ;
    if (std::memcmp(h, "8BPS", 4) != 0 || be16(h + 4) != 1)
        return IS_ERR_PSD_SIGNATURE;
    header->channels = be16(h + 12);
    header->height = be32(h + 14);
    header->width = be32(h + 18);
    header->bits = be16(h + 22);
    header->mode = be16(h + 24);
    if (header->bits != 1 && header->bits != 8 && header->bits != 16)
        return IS_ERR_PSD_UNSUPPORTED;
    if (!mode_known(header->mode) || !bits_fit_mode(header->bits, header->mode) ||
        header->channels < psd_planes_used(header->mode))
        return IS_ERR_PSD_UNSUPPORTED;
    if (header->width == 0 || header->height == 0)
        return IS_ERR_PSD_SIGNATURE;
    return IS_OK;
}

int32_t psd_read_section(CISIO& io, std::vector<uint8_t>* keep)
{
    uint8_t length_bytes[4];
    if (!io.read_exactly(length_bytes, 4))
        return IS_ERR_READ;
    const uint32_t length = be32(length_bytes);
    if (!keep)
        return length == 0 || io.seek(length, 1) ? IS_OK : IS_ERR_READ;
    // Never reserve more than the source still holds.
    const int64_t size = io.size(), here = io.tell();
    if (size >= 0 && here >= 0 && (int64_t)length > size - here)
        return IS_ERR_READ;
    if (length > is_buffer_limit())
        return IS_ERR_NO_MEMORY;
    keep->resize(length);
    return length == 0 || io.read_exactly(keep->data(), length) ? IS_OK : IS_ERR_READ;
}

int32_t psd_read_color_data(CISIO& io, const psd_header& header, uint8_t* palette)
{
    std::memset(palette, 0, 1024);
    if (header.mode == PSD_BITMAP) {
        std::memset(palette, 255, 3);  // 0 white, 1 black
    } else {
        grey_ramp(palette);
    }
    if (header.mode != PSD_INDEXED)
        return psd_read_section(io, nullptr);

    uint8_t length_bytes[4];
    if (!io.read_exactly(length_bytes, 4))
        return IS_ERR_READ;
    const uint32_t length = be32(length_bytes);
    uint8_t table[768];
    if (length < sizeof table || !io.read_exactly(table, sizeof table))
        return IS_ERR_READ;
    for (int i = 0; i < 256; ++i) {
        palette[4 * i + 2] = table[i];
        palette[4 * i + 1] = table[256 + i];
        palette[4 * i] = table[512 + i];
    }
    return length == sizeof table || io.seek(length - sizeof table, 1) ? IS_OK : IS_ERR_READ;
}

bool psd_query_header(read_context& context, psd_header_query* query, bool want_resolution)
{
    std::memset(query, 0, sizeof *query);
    CISIO& io = context.io;
    psd_header header;
    uint8_t palette[1024];
    std::vector<uint8_t> resources;
    int32_t error = psd_read_header(io, &header);
    if (error == IS_OK)
        error = psd_read_color_data(io, header, palette);
    if (error == IS_OK)
        error = psd_read_section(io, want_resolution ? &resources : nullptr);
    if (error != IS_OK) {
        context.error = error;
        return false;
    }
    query->width = header.width;
    query->height = header.height;
    query->mode = header.mode;
    if (want_resolution) {
        std::vector<image_resource> found;
        const std::vector<uint16_t> wanted = {resolution_resource_id};
        parse_image_resources(resources.data(), (uint32_t)resources.size(), &found, &wanted);
        // Horizontal resolution (16.16), its unit, the width unit, then the same vertically.
        if (!found.empty() && found[0].data.size() >= 16) {
            const uint8_t* d = found[0].data.data();
            query->has_resolution = true;
            query->x_resolution = be32(d);
            query->x_unit = be16(d + 4);
            query->y_resolution = be32(d + 8);
            query->y_unit = be16(d + 12);
        }
    }
    return true;
}

int32_t psd_suggest_depth(read_context& context)
{
    psd_header_query query;
    if (!psd_query_header(context, &query, false))
        return 0;
    switch (query.mode) {
    case PSD_BITMAP:
    case PSD_GRAYSCALE:
    case PSD_INDEXED: return 8;
    default: return 24;
    }
}
