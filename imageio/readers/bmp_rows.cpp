// Conversion of stored BMP rows into output rows.
#include "imageio/bytes.h"
#include "imageio/readers/bmp_format.h"

namespace {

// Left shift (negative: right) that puts the top bit of the mask's lowest run
// of ones on bit 7, so that the channel is the low byte.
int mask_shift(uint32_t mask)
{
    if (mask == 0)
        return 0;
    int bit = 0;
    while (!(mask >> bit & 1))
        ++bit;
    while (bit < 31 && (mask >> (bit + 1) & 1))
        ++bit;
    return 7 - bit;
}

uint8_t masked_channel(uint32_t value, uint32_t mask, int shift)
{
    const uint32_t v = value & mask;
    return (uint8_t)(shift >= 0 ? v << shift : v >> -shift);
}

void put_entry(const uint8_t* palette, uint32_t index, uint8_t* out)
{
    const uint8_t* entry = palette + 4 * index;
    out[0] = entry[2];
    out[1] = entry[1];
    out[2] = entry[0];
}

}  // namespace

void bmp_row_to_rgb(const bmp_info& info, const uint8_t* stored, uint8_t* out, uint32_t out_bytes)
{
    const uint32_t width = (uint32_t)info.width;
    const uint8_t* palette = info.palette;
    int shifts[3] = {0, 0, 0};
    const bool masked = info.bit_count == 16 && info.has_masks;
    if (masked)
        for (int c = 0; c < 3; ++c)
            shifts[c] = mask_shift(info.masks[c]);

    for (uint32_t x = 0; x < width; ++x, out += out_bytes) {
        uint8_t alpha = 255;
        switch (info.bit_count) {
        case 1:
            put_entry(palette, stored[x >> 3] >> (7 - (x & 7)) & 1, out);
            break;
        case 4:
            put_entry(palette, (x & 1) ? stored[x >> 1] & 15 : stored[x >> 1] >> 4, out);
            break;
        case 8:
            put_entry(palette, stored[x], out);
            break;
        case 16: {
            const uint32_t v = le16(stored + 2 * x);
            if (masked) {
                for (int c = 0; c < 3; ++c)
                    out[c] = masked_channel(v, info.masks[c], shifts[c]);
            } else {
                out[0] = (uint8_t)((v >> 10 & 31) * 255 / 31);
                out[1] = (uint8_t)((v >> 5 & 31) * 255 / 31);
                out[2] = (uint8_t)((v & 31) * 255 / 31);
            }
            break;
        }
        case 24:
            out[0] = stored[3 * x + 2];
            out[1] = stored[3 * x + 1];
            out[2] = stored[3 * x];
            break;
        case 32: {
            const uint32_t v = le32(stored + 4 * x);
            out[0] = (uint8_t)(v >> 16);
            out[1] = (uint8_t)(v >> 8);
            out[2] = (uint8_t)v;
            alpha = (uint8_t)(v >> 24);
            break;
        }
        default:
            break;
        }
        if (out_bytes == 4)
            out[3] = alpha;
    }
}

void bmp_row_to_indices(const bmp_info& info, const uint8_t* stored, uint8_t* out)
{
    const uint32_t width = (uint32_t)info.width;
    for (uint32_t x = 0; x < width; ++x) {
        switch (info.bit_count) {
        case 1: out[x] = stored[x >> 3] >> (7 - (x & 7)) & 1; break;
        case 4: out[x] = (x & 1) ? stored[x >> 1] & 15 : stored[x >> 1] >> 4; break;
        default: out[x] = stored[x]; break;
        }
    }
}
