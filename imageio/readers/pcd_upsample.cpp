// Doubling of Photo CD planes in place.
#include "imageio/readers/pcd.h"

#include <cstring>
#include <vector>

void pcd_upsample(uint8_t* plane, uint32_t stride, uint32_t w, uint32_t h)
{
    if (w == 0 || h == 0)
        return;
    // Source row y becomes row 2y. Going from the last row up, every row
    // written lies at or below the source rows still to be read.
    std::vector<uint8_t> source(w);
    for (uint32_t y = h; y-- > 0;) {
        std::memcpy(source.data(), plane + (uint64_t)y * stride, w);
        uint8_t* out = plane + (uint64_t)2 * y * stride;
        for (uint32_t x = 0; x + 1 < w; ++x) {
            out[2 * x] = source[x];
            out[2 * x + 1] = (uint8_t)((source[x] + source[x + 1] + 1) / 2);
        }
        out[2 * w - 2] = out[2 * w - 1] = source[w - 1];
    }
    // Rows between two even rows take the means of those rows.
    const uint32_t out_w = 2 * w;
    for (uint32_t y = 0; y + 1 < h; ++y) {
        const uint8_t* a = plane + (uint64_t)2 * y * stride;
        const uint8_t* b = a + 2 * (uint64_t)stride;
        uint8_t* out = plane + (uint64_t)(2 * y + 1) * stride;
        for (uint32_t x = 0; x + 1 < out_w; x += 2) {
            out[x] = (uint8_t)((a[x] + b[x] + 1) / 2);
            if (x + 2 < out_w)
                out[x + 1] = (uint8_t)((a[x] + a[x + 2] + b[x] + b[x + 2] + 2) / 4);
        }
        out[out_w - 1] = (uint8_t)((a[out_w - 1] + b[out_w - 1] + 1) / 2);
    }
    std::memcpy(plane + (uint64_t)(2 * h - 1) * stride, plane + (uint64_t)(2 * h - 2) * stride, out_w);
}
