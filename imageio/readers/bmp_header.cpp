// BMP headers and palette.
#include "imageio/bytes.h"
#include "imageio/buffer.h"
#include "imageio/readers/bmp.h"
#include "imageio/readers/bmp_format.h"

#include <cstring>

namespace {

// The Windows header that describes the same picture as an OS/2 header.
void build_windows_header(bmp_info* info)
{
    uint8_t* h = info->header;
    std::memset(h, 0, sizeof info->header);
    put_le32(h, bmp_windows_header_size);
    put_le32(h + 4, (uint32_t)info->width);
    put_le32(h + 8, (uint32_t)info->height);
    put_le16(h + 12, 1);
    put_le16(h + 14, info->bit_count);
}

}  // namespace

int32_t bmp_read_headers(CISIO& io, bmp_info* info)
{
    std::memset(info, 0, sizeof *info);
    uint8_t file_header[bmp_file_header_size];
    if (!io.read_exactly(file_header, sizeof file_header))
        return IS_ERR_READ;
    if (file_header[0] != 'B' || file_header[1] != 'M')
        return IS_ERR_BAD_BMP;
    info->off_bits = le32(file_header + 10);

    uint8_t* h = info->header;
    if (!io.read_exactly(h, 4))
        return IS_ERR_READ;
    info->header_size = le32(h);
    if (info->header_size == bmp_os2_header_size) {
        if (!io.read_exactly(h + 4, 8))
            return IS_ERR_READ;
        info->width = le16(h + 4);
        info->height = le16(h + 6);
        info->bit_count = le16(h + 10);
        info->rows = (uint32_t)info->height;
        build_windows_header(info);
    } else if (info->header_size == bmp_windows_header_size) {
        if (!io.read_exactly(h + 4, 36))
            return IS_ERR_READ;
        info->width = (int32_t)le32(h + 4);
        info->height = (int32_t)le32(h + 8);
        info->bit_count = le16(h + 14);
        info->compression = le32(h + 16);
        info->image_size = le32(h + 20);
        info->x_pels_per_meter = (int32_t)le32(h + 24);
        info->y_pels_per_meter = (int32_t)le32(h + 28);
        info->colors_used = le32(h + 32);
        info->top_down = info->height < 0;
        info->rows = info->top_down ? 0u - (uint32_t)info->height : (uint32_t)info->height;
    } else {
        return IS_ERR_BAD_BMP;
    }
    if (info->width < 1)
        return IS_ERR_BAD_BMP;
    return IS_OK;
}

bool bmp_is_rle(const bmp_info& info)
{
    return (info.compression == BMP_RLE8 && info.bit_count == 8) ||
           (info.compression == BMP_RLE4 && info.bit_count == 4);
}

uint64_t bmp_declared_colors(const bmp_info& info)
{
    if (info.colors_used)
        return info.colors_used;
    return info.bit_count > 31 ? 0 : (uint64_t)1 << info.bit_count;
}

int32_t bmp_read_palette(CISIO& io, bmp_info* info, uint64_t entries)
{
    const uint32_t entry_size = info->header_size == bmp_os2_header_size ? 3 : 4;
    const uint32_t count = entries < 256 ? (uint32_t)entries : 256;
    uint8_t stored[1024];
    if (!io.read_exactly(stored, count * entry_size))
        return IS_ERR_READ;
    for (uint32_t i = 0; i < 256; ++i) {
        const uint8_t* from = stored + (i < count ? i : 0) * entry_size;
        uint8_t* to = info->palette + 4 * i;
        if (count == 0) {
            std::memset(to, 0, 4);
            continue;
        }
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
    }
    return IS_OK;
}

bool bmp_stored_row_bytes(uint32_t width, uint16_t bit_count, uint64_t* bytes)
{
    uint64_t pixel_bytes;
    switch (bit_count) {
    case 1: pixel_bytes = ((uint64_t)width + 7) / 8; break;
    case 4: pixel_bytes = ((uint64_t)width + 1) / 2; break;
    default: pixel_bytes = (uint64_t)width * (bit_count / 8); break;
    }
    const uint64_t padded = (pixel_bytes * 8 + 31) / 32 * 4;
    if (padded > is_buffer_limit())
        return false;
    *bytes = padded;
    return true;
}

bool bmp_query_header(read_context& context, bmp_header_query* query, bool per_centimetre)
{
    bmp_info info;
    const int32_t error = bmp_read_headers(context.io, &info);
    if (error != IS_OK) {
        context.error = error;
        return false;
    }
    query->width = info.width;
    query->height = info.height;
    query->bit_count = info.bit_count;
    query->x_resolution = per_centimetre ? info.x_pels_per_meter / 100 : info.x_pels_per_meter;
    query->y_resolution = per_centimetre ? info.y_pels_per_meter / 100 : info.y_pels_per_meter;
    query->resolution_unit = per_centimetre ? 1 : 2;
    return true;
}

int32_t bmp_suggest_depth(read_context& context)
{
    bmp_header_query query;
    if (!bmp_query_header(context, &query, false))
        return 0;
    if (query.bit_count <= 8)
        return query.bit_count;
    return query.bit_count == 32 ? 32 : 24;
}
