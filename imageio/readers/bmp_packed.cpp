// The BMP file's own packed device-independent bitmap: the 40-byte header,
// the palette or the masks, and the pixel data as stored.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/bmp_format.h"

#include <algorithm>
#include <cstring>

namespace {

// Bytes of pixel data to copy: the uncompressed size, or for RLE data what
// the header declares, never more than the file still holds.
uint64_t data_bytes(CISIO& io, const bmp_info& info, uint64_t uncompressed)
{
    if (!bmp_is_rle(info))
        return uncompressed;
    const int64_t size = io.size();
    const uint64_t remaining = size > (int64_t)info.off_bits ? (uint64_t)size - info.off_bits : 0;
    return info.image_size ? std::min<uint64_t>(info.image_size, remaining) : remaining;
}

}  // namespace

uint8_t* bmp_read_packed(read_context& context, bmp_info& info, uint32_t* width, uint32_t* height)
{
    CISIO& io = context.io;
    const bool os2 = info.header_size == bmp_os2_header_size;
    const uint16_t bits = info.bit_count;
    if (!os2) {
        const bool known = info.compression == BMP_RGB || info.compression == BMP_BITFIELDS || bmp_is_rle(info);
        if (!known)
            return context.fail(IS_ERR_BAD_BMP);
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return context.fail(IS_ERR_BAD_BMP);
    if (os2 && (bits == 16 || bits == 32))
        return context.fail(IS_ERR_BAD_BMP);

    const uint64_t palette_room = bits <= 8 ? (uint64_t)1 << bits : 0;
    const uint64_t entries = os2 ? palette_room : std::min(bmp_declared_colors(info), palette_room);
    const uint32_t mask_bytes = (info.compression == BMP_BITFIELDS && (bits == 16 || bits == 32)) ? 12 : 0;
    const uint64_t stride = ((uint64_t)(uint32_t)info.width * bits + 31) / 32 * 4;
    uint64_t image_bytes = 0;
    if (!is_buffer_size(stride, info.rows, &image_bytes))
        return context.fail(IS_ERR_NO_MEMORY);
    const uint64_t pixel_offset = bmp_windows_header_size + entries * 4 + mask_bytes;
    const uint64_t copy_bytes = data_bytes(io, info, image_bytes);
    const uint64_t pixel_room = std::max(image_bytes, copy_bytes);
    const uint64_t total = bmp_windows_header_size + palette_room * 4 + mask_bytes + pixel_room;
    if (total > is_buffer_limit())
        return context.fail(IS_ERR_NO_MEMORY);
    owned_buffer dib = alloc_pixels(total, 1);
    if (!dib)
        return context.fail(IS_ERR_NO_MEMORY);

    std::memcpy(dib.get(), info.header, bmp_windows_header_size);
    // The header never claims more pixel data than the bitmap holds.
    if (info.image_size == 0)
        put_le32(dib.get() + 20, (uint32_t)image_bytes);
    else if (info.image_size > pixel_room)
        put_le32(dib.get() + 20, (uint32_t)pixel_room);
    if (!os2 && info.colors_used > entries)
        put_le32(dib.get() + 32, (uint32_t)entries);

    uint8_t* at = dib.get() + bmp_windows_header_size;
    bool complete = true;
    if (os2) {
        for (uint64_t i = 0; i < entries && complete; ++i, at += 4)
            complete = io.read_exactly(at, 3);
    } else {
        // Masks come before any palette; only 16- and 32-bit pictures use them.
        uint8_t masks[12];
        if (info.compression == BMP_BITFIELDS) {
            complete = io.read_exactly(masks, sizeof masks);
            if (complete && mask_bytes)
                std::memcpy(at + entries * 4, masks, mask_bytes);
        }
        if (complete && entries)
            complete = io.read_exactly(at, (uint32_t)(entries * 4));
    }
    if (!complete)
        return context.fail(IS_ERR_READ);
    if (!os2) {
        const int64_t here = io.tell();
        const bool placed = here >= 0 && (info.off_bits >= here ? io.skip(info.off_bits - (uint64_t)here)
                                                                : io.seek(info.off_bits, 0));
        if (!placed)
            return context.fail(IS_ERR_READ);
    }
    uint64_t left = copy_bytes;
    uint8_t* pixels = dib.get() + pixel_offset;
    while (left > 0) {
        const uint32_t part = left < (1u << 30) ? (uint32_t)left : (1u << 30);
        const uint32_t got = io.read(pixels, part);
        pixels += got;
        left -= got;
        if (got < part) {
            context.error = IS_ERR_READ;
            break;
        }
    }
    *width = (uint32_t)info.width;
    *height = info.rows;
    return dib.release();
}
