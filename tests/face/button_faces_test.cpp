// A button's faces: where its caption goes on the plate, the strip's rows,
// the four faces with their tints and caption, and their composition over
// the tiled background.
#include "face/button_faces.h"
#include "tests/raster/raster_test_support.h"

#include <algorithm>
#include <array>

namespace {

// left, top, width, height of the part shown; x, y of its place on the plate.
using placement = std::array<int32_t, 6>;

placement fit(int32_t caption_width, int32_t caption_height, int32_t plate_width, int32_t plate_height)
{
    const caption_fit f = fit_caption(caption_width, caption_height, plate_width, plate_height);
    return {f.left, f.top, f.width, f.height, f.x, f.y};
}

TEST(ButtonFaces, CaptionFitsOrIsTrimmedAroundItsMiddle)
{
    // 26-pixel plates show caption rows 1 to 26 of 29; a plate at least as
    // wide as the caption shows it flush left, a narrower one its middle.
    EXPECT_EQ(fit(150, 29, 159, 26), (placement{0, 1, 150, 26, 0, 0}));
    EXPECT_EQ(fit(150, 29, 126, 26), (placement{12, 1, 126, 26, 0, 0}));
    EXPECT_EQ(fit(150, 29, 76, 26), (placement{37, 1, 76, 26, 0, 0}));
    EXPECT_EQ(fit(150, 29, 26, 26), (placement{62, 1, 26, 26, 0, 0}));
    // A plate that holds the whole caption centres it, halves rounded down.
    EXPECT_EQ(fit(150, 29, 200, 40), (placement{0, 0, 150, 29, 25, 5}));
    EXPECT_EQ(fit(150, 29, 151, 30), (placement{0, 0, 150, 29, 0, 0}));
    // Taller but narrower: narrowed only.
    EXPECT_EQ(fit(150, 29, 27, 40), (placement{61, 0, 27, 29, 0, 0}));
}

TEST(ButtonFaces, CaptionRowsOfTheStrip)
{
    image_ptr strip = make_image(PIXEL_BGR24 | PIXEL_ALPHA8, 150, 400);
    raster_image row;
    ASSERT_TRUE(caption_view(strip.get(), 10, &row));
    EXPECT_EQ(row.pixels, strip->pixels + 290 * strip->stride);
    EXPECT_EQ(row.width, 150);
    EXPECT_EQ(row.height, 29);
    EXPECT_TRUE(caption_view(strip.get(), 12, &row));  // rows 348 to 376
    EXPECT_FALSE(caption_view(strip.get(), 13, &row));
    EXPECT_FALSE(caption_view(strip.get(), -1, &row));
    EXPECT_FALSE(caption_view(nullptr, 0, &row));
}

uint32_t at(const owned_image& image, int32_t x, int32_t y)
{
    return image_get_pixel(image.get(), y, x);
}

int spread(uint32_t color)
{
    const int blue = color & 0xFF, green = color >> 8 & 0xFF, red = color >> 16 & 0xFF;
    return std::max({blue, green, red}) - std::min({blue, green, red});
}

TEST(ButtonFaces, FourTintedFacesWithTheCaptionOnThePlate)
{
    // A caption with one opaque white block in its middle 26 columns.
    image_ptr caption = make_image(PIXEL_BGR24 | PIXEL_ALPHA8, 150, 29);
    image_fill(caption.get(), 0);
    raster_image block;
    image_view(&block, 10, 70, caption.get(), 10, 9);
    image_fill(&block, 0xFFFFFFFF);

    button_faces faces;
    ASSERT_TRUE(render_button_faces(26, 26, 211, caption.get(), &faces));
    EXPECT_EQ(faces.face_x, 4);
    EXPECT_EQ(faces.face_y, 4);
    // Caption column 70 row 10 lands at plate column 70 - 62, row 10 - 1.
    const int32_t x = faces.face_x + 8, y = faces.face_y + 9;
    for (const owned_image& face : faces.face) {
        ASSERT_TRUE(face);
        EXPECT_EQ(at(face, x, y), 0xFFFFFFFFu);
        EXPECT_EQ(at(face, x + 10, y) >> 24, 255u);
        EXPECT_LT(at(face, faces.face_x, faces.face_y) >> 24, 255u);  // the cut corner
        EXPECT_FALSE(faces.composed[&face - faces.face]);
    }
    // Only the hovered face is fully saturated; pressed looks like normal.
    const uint32_t normal = at(faces.face[BUTTON_NORMAL], x + 10, y);
    EXPECT_GT(spread(at(faces.face[BUTTON_HOT], x + 10, y)), spread(normal));
    EXPECT_EQ(at(faces.face[BUTTON_PRESSED], x + 10, y), normal);
    EXPECT_EQ(at(faces.face[BUTTON_PRESSED_OUTSIDE], x + 10, y), normal);

    button_faces print;
    ASSERT_TRUE(render_button_faces(26, 26, 344, nullptr, &print));
    const uint32_t red = at(print.face[BUTTON_NORMAL], x + 10, y);
    EXPECT_GT(red >> 16 & 0xFF, red & 0xFF);
    EXPECT_GT(red & 0xFF, red >> 8 & 0xFF);
}

TEST(ButtonFaces, ComposedOverThePatternAtTheButtonsPlace)
{
    kit_init();
    button_faces faces;
    EXPECT_FALSE(compose_button_faces(&faces, nullptr, 0, 0, 0xFF808080));  // nothing rendered yet
    ASSERT_TRUE(render_button_faces(76, 26, 211, nullptr, &faces));
    // A pattern of 3 x 2 pixels, each of its own grey.
    image_ptr pattern = make_image(PIXEL_BGR24, 3, 2);
    for (int32_t row = 0; row < 2; ++row)
        for (int32_t column = 0; column < 3; ++column)
            set_bgr(pattern.get(), row, column, 0x101010u * (1 + column + 3 * row));

    // A pixel beyond the shadow's reach shows the pattern alone.
    int32_t clear_x = 0, clear_y = 0;
    while (at(faces.face[0], clear_x, clear_y) != 0 && ++clear_x < faces.face[0]->width) {
    }
    ASSERT_LT(clear_x, faces.face[0]->width);
    for (const auto& [x, y, pattern_x, pattern_y] : {std::array{0, 0, 0, 0}, {4, 3, 1, 1}, {-1, -3, 2, 1}}) {
        ASSERT_TRUE(compose_button_faces(&faces, pattern.get(), x, y, 0));
        const int under = 0x10 * (1 + (pattern_x + clear_x) % 3 + 3 * pattern_y);
        for (const owned_image& composed : faces.composed) {
            ASSERT_TRUE(composed);
            EXPECT_EQ(composed->type, PIXEL_BGR24);
            EXPECT_EQ(int(at(composed, clear_x, clear_y) & 0xFF), under) << x << "," << y;
            // The plate is opaque.
            EXPECT_EQ(at(composed, faces.face_x + 30, faces.face_y + 13) & 0xFFFFFF,
                      at(faces.face[&composed - faces.composed], faces.face_x + 30, faces.face_y + 13) & 0xFFFFFF);
        }
    }
    ASSERT_TRUE(compose_button_faces(&faces, nullptr, 0, 0, 0xFF336699));
    EXPECT_EQ(at(faces.composed[0], clear_x, clear_y), 0xFF336699u);
}

}  // namespace
