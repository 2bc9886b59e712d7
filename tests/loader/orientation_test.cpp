// JPEG pictures turned the right way up by their EXIF orientation, and large
// pictures refused by name of the limit.
#include "imageio/buffer.h"
#include "imageio/readers/exif.h"
#include "loader/load_picture.h"
#include "loader/picture_roads.h"
#include "tests/imageio/test_support.h"
#include "tests/writers/bmp_writer.h"
#include "tests/writers/jpeg_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Orientation : public ::testing::Test {
protected:
    void SetUp() override { kit_init(); }
};

// Six 8 x 8 blocks of clearly different colours, three across and two down:
//   A B C
//   D E F
constexpr uint32_t block_colours[6] = {0xE00000, 0x00E000, 0x0000E0, 0xE0E000, 0x00E0E0, 0xE000E0};

std::vector<uint8_t> blocks_jpeg(std::vector<std::pair<int, std::vector<uint8_t>>> markers)
{
    jpeg_recipe recipe;
    recipe.width = 24;
    recipe.height = 16;
    recipe.full_chroma = true;
    recipe.markers = std::move(markers);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 24; ++x) {
            const uint32_t colour = block_colours[y / 8 * 3 + x / 8];
            recipe.pixels.insert(recipe.pixels.end(),
                                 {(uint8_t)(colour >> 16), (uint8_t)(colour >> 8), (uint8_t)colour});
        }
    return make_jpeg(recipe);
}

// The picture as block letters, row by row ("ABC/DEF"), each block told by
// the colour at its centre; '?' for a colour that is none of them.
std::string block_letters(const raster_image* image)
{
    std::string letters;
    for (int32_t by = 0; by < image->height / 8; ++by) {
        if (by)
            letters += '/';
        for (int32_t bx = 0; bx < image->width / 8; ++bx) {
            const uint8_t* p = image->pixels + (size_t)(by * 8 + 4) * image->stride + (size_t)(bx * 8 + 4) * 3;
            char letter = '?';
            for (int i = 0; i < 6; ++i) {
                const uint32_t c = block_colours[i];
                if (std::abs(p[2] - (int)(c >> 16 & 0xFF)) < 24 && std::abs(p[1] - (int)(c >> 8 & 0xFF)) < 24 &&
                    std::abs(p[0] - (int)(c & 0xFF)) < 24)
                    letter = (char)('A' + i);
            }
            letters += letter;
        }
    }
    return letters;
}

std::string load_letters(const std::vector<uint8_t>& jpeg)
{
    temp_file file("photo.jpg", jpeg);
    raster_image* image = load_picture(file.path(), true);
    if (!image)
        return "no picture";
    std::string letters = block_letters(image);
    image_free(image);
    return letters;
}

TEST_F(Orientation, EveryValueShowsThePictureTheRightWayUp)
{
    const char* const shown[9] = {nullptr,  "ABC/DEF", "CBA/FED", "FED/CBA", "DEF/ABC",
                                  "AD/BE/CF", "DA/EB/FC", "FC/EB/DA", "CF/BE/AD"};
    for (uint16_t value = 1; value <= 8; ++value)
        for (bool motorola : {false, true})
            EXPECT_EQ(load_letters(blocks_jpeg({{0xE1, exif_orientation_app1(value, motorola)}})), shown[value])
                << "orientation " << value << (motorola ? " big-endian" : "");
}

TEST_F(Orientation, MissingOrDamagedExifLeavesThePictureAsStored)
{
    std::vector<uint8_t> cut = exif_orientation_app1(6);
    cut.resize(20);  // the directory is cut off
    std::vector<uint8_t> far = exif_orientation_app1(6);
    far[10] = 0xF0;  // the directory lies far beyond the marker
    std::vector<uint8_t> wrong_type = exif_orientation_app1(6);
    wrong_type[18] = 4;  // LONG instead of SHORT
    std::vector<uint8_t> not_exif = exif_orientation_app1(6);
    not_exif[0] = 'X';
    const std::vector<std::vector<uint8_t>> markers = {
        cut, far, wrong_type, not_exif, exif_orientation_app1(0), exif_orientation_app1(9), {'E', 'x', 'i', 'f', 0, 0}};
    EXPECT_EQ(load_letters(blocks_jpeg({})), "ABC/DEF");
    for (const std::vector<uint8_t>& marker : markers) {
        EXPECT_EQ(exif_orientation(marker.data(), marker.size()), 1);
        EXPECT_EQ(load_letters(blocks_jpeg({{0xE1, marker}})), "ABC/DEF");
    }
    // An EXIF block in another marker than APP1 says nothing.
    EXPECT_EQ(load_letters(blocks_jpeg({{0xE2, exif_orientation_app1(3)}})), "ABC/DEF");
}

TEST_F(Orientation, PicturesPastTheBufferLimitAreRefusedNamingIt)
{
    bmp_recipe recipe;
    recipe.width = 40;
    recipe.height = 40;
    recipe.bit_count = 24;
    recipe.pixels.assign(1600, 0x123456);
    temp_file file("large.bmp", make_bmp(recipe));
    is_set_buffer_limit(1000);
    load_failure failure;
    EXPECT_EQ(load_picture(file.path(), true, &failure), nullptr);
    is_set_buffer_limit(0);
    EXPECT_EQ(failure.code, IS_ERR_NO_MEMORY);
    EXPECT_STREQ(failure.reason, too_large_reason);
    EXPECT_NE(std::string(failure.reason).find("2147348478 bytes"), std::string::npos);
    // The same picture within the limit loads, and says nothing of it.
    raster_image* image = load_picture(file.path(), true, &failure);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(failure.code, 0);
    image_free(image);
}

}  // namespace
