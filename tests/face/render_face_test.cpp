// Whole faces: where the plate lies, how far the shadow reaches, the
// transparent corners, the tint, and clean failure.
#include "face/render_face.h"
#include "raster/kit_test_hooks.h"
#include "tests/raster/raster_test_support.h"

namespace {

// The button's plate: opaque but for its four corner pixels.
image_ptr plate_mask(int32_t width, int32_t height)
{
    image_ptr mask = make_image(PIXEL_GRAY8, width, height);
    image_fill(mask.get(), 0xFFFFFFFF);
    for (const int32_t x : {0, width - 1})
        for (const int32_t y : {0, height - 1})
            image_clear_pixel(mask.get(), x, y);
    return mask;
}

struct rendered {
    image_ptr face;
    int32_t x = -1, y = -1;
};

rendered render(const face_style& style)
{
    rendered r;
    r.face.reset(render_face(&style, &r.x, &r.y));
    return r;
}

TEST(RenderFace, PlateShadowCornersAndTint)
{
    // The shadow (mask at (7, 7) of a 14-wider map, blurred with radius 7,
    // times 115 / 256) first shows 2 pixels in on the left and top, 3 weights
    // of 255 over the total: plate x -4; on the right and bottom it ends 6
    // beyond the plate, where the blur is left with 3 weights too.
    image_ptr mask = plate_mask(159, 26);
    face_style style;
    style.mask = mask.get();
    for (const int32_t hue : {211, 344}) {
        style.hue = hue;
        const rendered r = render(style);
        ASSERT_TRUE(r.face);
        EXPECT_EQ(r.face->type, BGRA);
        EXPECT_EQ(r.x, 4);
        EXPECT_EQ(r.y, 4);
        EXPECT_EQ(r.face->width, 4 + 159 + 6);
        EXPECT_EQ(r.face->height, 4 + 26 + 6);
        for (const int32_t x : {0, 158}) {
            for (const int32_t y : {0, 25}) {
                const uint32_t corner = image_get_pixel(r.face.get(), r.y + y, r.x + x);
                EXPECT_EQ(corner & 0xFFFFFF, 0u) << x << "," << y;  // the black shadow alone
                EXPECT_LT(corner >> 24, 255u);
                EXPECT_EQ(image_get_pixel(r.face.get(), r.y + y, r.x + (x ? x - 1 : 1)) >> 24, 255u);
            }
        }
        const uint32_t middle = image_get_pixel(r.face.get(), r.y + 13, r.x + 80);
        const uint32_t blue = middle & 0xFF, green = middle >> 8 & 0xFF, red = middle >> 16 & 0xFF;
        if (hue == 211)
            EXPECT_TRUE(blue > green && green > red) << std::hex << middle;
        else
            EXPECT_TRUE(red > blue && blue > green) << std::hex << middle;
    }
}

TEST(RenderFace, ExtentsForEverySize)
{
    image_ptr nothing = make_image(PIXEL_GRAY8, 0, 0);
    face_style style;
    style.mask = nothing.get();
    const rendered empty = render(style);
    ASSERT_TRUE(empty.face);  // nothing visible: one transparent pixel
    EXPECT_EQ(empty.face->width * empty.face->height, 1);
    EXPECT_EQ(image_get_pixel(empty.face.get(), 0, 0), 0u);

    for (const auto& [width, height] : {std::pair{1, 1}, {1, 26}, {26, 26}, {76, 26}, {1200, 500}}) {
        image_ptr mask = plate_mask(width, height);
        style.mask = mask.get();
        for (const int32_t dx : {1, -3, 5}) {
            style.drop_shadow_dx = style.drop_shadow_dy = dx;
            const rendered r = render(style);
            ASSERT_TRUE(r.face) << width << "x" << height;
            EXPECT_LE(r.x, dx == 1 ? 6 : 10);
            EXPECT_LE(r.y, dx == 1 ? 6 : 10);
            EXPECT_LE(r.face->width - r.x - width, dx == 1 ? 8 : 12);
            EXPECT_LE(r.face->height - r.y - height, dx == 1 ? 8 : 12);
        }
    }
}

std::vector<int> g_allocations_left;
kit_alloc_hook g_real_alloc;

void* failing_alloc(uint64_t size)
{
    return g_allocations_left.back()-- == 0 ? nullptr : g_real_alloc(size);
}

TEST(RenderFace, FailsCleanly)
{
    image_ptr mask = plate_mask(26, 26), color = make_image(PIXEL_BGR24, 26, 26);
    face_style style;
    EXPECT_FALSE(render(style).face);
    style.mask = color.get();
    EXPECT_FALSE(render(style).face);
    style.mask = mask.get();
    style.drop_shadow_sigma = 1e6;
    EXPECT_FALSE(render(style).face);
    style.drop_shadow_sigma = 2.0;

    const int live = live_blocks();
    bool done = false;
    for (int allowed = 0; !done && allowed < 30; ++allowed) {
        g_allocations_left = {allowed};
        g_real_alloc = kit_replace_alloc_hook(failing_alloc);
        const rendered r = render(style);
        kit_replace_alloc_hook(g_real_alloc);
        done = r.face != nullptr;
        EXPECT_EQ(live_blocks(), live + done) << allowed;
    }
    EXPECT_TRUE(done);
}

}  // namespace
