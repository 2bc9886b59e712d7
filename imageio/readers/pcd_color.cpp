// Photo CD colour: YCC to RGB through the tone table, and the rotation.
#include "imageio/buffer.h"
#include "imageio/readers/pcd.h"
#include "imageio/trace.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int tone_entries = 351;

// Points the tone curve passes through; it is straight between them and
// flat at 255 from 344 on.
struct tone_point {
    int x;
    int y;
};
const tone_point tone_points[] = {{0, 0},     {29, 29},   {50, 49},   {100, 101}, {150, 153},
                                  {200, 199}, {250, 233}, {300, 249}, {340, 254}, {344, 255}};

struct tone_table {
    uint8_t values[tone_entries];
    tone_table()
    {
        const int last = (int)(sizeof tone_points / sizeof tone_points[0]) - 1;
        for (int i = 0; i < tone_entries; ++i)
            values[i] = 255;
        for (int k = 0; k < last; ++k) {
            const tone_point a = tone_points[k], b = tone_points[k + 1];
            for (int x = a.x; x <= b.x; ++x)
                values[x] = (uint8_t)(a.y + ((x - a.x) * (b.y - a.y) + (b.x - a.x) / 2) / (b.x - a.x));
        }
    }
};

uint8_t to_byte(const uint8_t* tone, double v)
{
    if (v < 0)
        v = 0;
    if (v > tone_entries - 1)
        v = tone_entries - 1;
    return tone[(int)v];
}

// The products of each component with its coefficients, one entry a value.
struct ycc_products {
    double luma[256];
    double c1_green[256];
    double c1_blue[256];
    double c2_red[256];
    double c2_green[256];
};

}  // namespace

const uint8_t* pcd_tone_table()
{
    static const tone_table table;
    return table.values;
}

int32_t pcd_ycc_to_rgb(read_context& context, uint8_t* pixels, uint32_t width, uint32_t height)
{
    std::unique_ptr<ycc_products> products(new (std::nothrow) ycc_products);
    if (!products) {
        is_trace(2, "Unable to allocate memory for color space transform");
        return IS_ERR_NO_MEMORY;
    }
    for (int i = 0; i < 256; ++i) {
        products->luma[i] = 1.402 * i;
        products->c1_green[i] = -0.444066 * (i - 156);
        products->c1_blue[i] = 2.289 * (i - 156);
        products->c2_red[i] = 1.88 * (i - 137);
        products->c2_green[i] = -0.95692 * (i - 137);
    }
    const uint8_t* tone = pcd_tone_table();
    for (uint32_t row = 0; row < height; ++row) {
        if (context.cancelled(row, height))
            return IS_ERR_CANCELLED;
        uint8_t* p = pixels + (uint64_t)row * width * 3;
        for (uint32_t x = 0; x < width; ++x, p += 3) {
            const double y = products->luma[p[0]];
            const uint8_t c1 = p[1], c2 = p[2];
            p[0] = to_byte(tone, y + products->c2_red[c2]);
            p[1] = to_byte(tone, y + products->c1_green[c1] + products->c2_green[c2]);
            p[2] = to_byte(tone, y + products->c1_blue[c1]);
        }
    }
    return IS_OK;
}

owned_buffer pcd_rotate(const uint8_t* rgb, uint32_t* width, uint32_t* height, int rotation)
{
    const uint32_t w = *width, h = *height;
    owned_buffer out = alloc_pixels((uint64_t)w * 3, h);
    if (!out)
        return out;
    const bool swapped = rotation == 1 || rotation == 3;
    const uint32_t out_w = swapped ? h : w;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* from = rgb + (uint64_t)y * w * 3;
        for (uint32_t x = 0; x < w; ++x, from += 3) {
            uint32_t tx, ty;
            switch (rotation) {
            case 1: tx = y; ty = w - 1 - x; break;          // counter-clockwise
            case 2: tx = w - 1 - x; ty = h - 1 - y; break;
            default: tx = h - 1 - y; ty = x; break;          // clockwise: the first row becomes the last column
            }
            std::memcpy(out.get() + ((uint64_t)ty * out_w + tx) * 3, from, 3);
        }
    }
    if (swapped) {
        *width = h;
        *height = w;
    }
    return out;
}
