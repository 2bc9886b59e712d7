// TGA reads: image types, rows stored either way up and either way across,
// run packets, colour maps, 16-bit grey with alpha, depths, the footer trace,
// the generic read's choices and damaged files.
#include "imageio/readers/tga.h"
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"
#include "tests/writers/tga_writer.h"

#include <gtest/gtest.h>

namespace {

read_result read_tga(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0)
{
    return read_format(is_read_tga, file, depth, flags);
}

tga_recipe true_colour(uint16_t width, uint16_t height, std::vector<uint32_t> pixels, uint8_t bits = 24)
{
    tga_recipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.pixel_bits = bits;
    recipe.pixels = std::move(pixels);
    return recipe;
}

tga_recipe mapped(std::vector<uint32_t> map, std::vector<uint32_t> pixels, uint16_t first = 0)
{
    const uint16_t width = (uint16_t)pixels.size();
    tga_recipe recipe = true_colour(width, 1, std::move(pixels), 8);
    recipe.image_type = 1;
    recipe.map = std::move(map);
    recipe.map_first = first;
    return recipe;
}

const std::vector<uint32_t> six = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0x405060, 0x708090};

TEST(TgaRead, BothRowOrdersGiveTheSamePicture)
{
    tga_recipe recipe = true_colour(3, 2, six);
    for (bool top_down : {false, true}) {
        recipe.top_down = top_down;
        read_result r = read_tga(make_tga(recipe), 24);
        ASSERT_TRUE(r.has_buffer);
        EXPECT_EQ(r.error, 0);
        EXPECT_EQ(r.width, 3u);
        EXPECT_EQ(r.height, 2u);
        EXPECT_EQ(r.pixels, rgb_bytes(six)) << "top_down " << top_down;
    }
    // Without alpha in the file every pixel is opaque at 32 bits.
    read_result r = read_tga(make_tga(recipe), 32);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin(), r.pixels.begin() + 8),
              (std::vector<uint8_t>{255, 0, 0, 255, 0, 255, 0, 255}));
}

TEST(TgaRead, RowsStoredRightToLeftAreTurnedRound)
{
    tga_recipe recipe = true_colour(3, 2, six);
    recipe.right_to_left = true;
    const std::vector<uint8_t> file = make_tga(recipe);
    EXPECT_EQ(file[17] & 0x30, 0x10);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.begin() + 21), (std::vector<uint8_t>{0x90, 0x80, 0x70}));
    for (uint8_t type : {2, 10}) {
        for (bool top_down : {false, true}) {
            recipe.image_type = type;
            recipe.top_down = top_down;
            read_result r = read_tga(make_tga(recipe), 24);
            ASSERT_TRUE(r.has_buffer);
            EXPECT_EQ(r.pixels, rgb_bytes(six)) << (int)type << " top_down " << top_down;
        }
    }
    tga_recipe indices = mapped({0xFF0000, 0x00FF00, 0x0000FF}, {2, 1, 0, 0});
    indices.right_to_left = true;
    EXPECT_EQ(read_tga(make_tga(indices), 8).pixels, (std::vector<uint8_t>{2, 1, 0, 0}));
    read_result packed = read_tga(make_tga(indices), 0, IS_FLAG_PACKED_DIB);
    EXPECT_EQ(std::vector<uint8_t>(packed.pixels.begin() + 40, packed.pixels.begin() + 46),
              (std::vector<uint8_t>{255, 0, 0, 0, 255, 0}));
}

TEST(TgaRead, RunPacketsMayCrossRows)
{
    // Four rows of three; stored top row first, a run of five crosses from
    // the third row into the fourth.
    const std::vector<uint32_t> pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0A0B0C, 0x0D0E0F,
                                          0x111111, 0x111111, 0x111111, 0x111111, 0x111111, 0x222222};
    tga_recipe raw = true_colour(3, 4, pixels);
    tga_recipe rle = raw;
    rle.image_type = 10;
    rle.top_down = true;
    const std::vector<uint8_t> file = make_tga(rle);
    EXPECT_EQ(file[36], 0x84);  // after packets of three literals, a run of two, one literal
    for (bool top_down : {false, true}) {
        rle.top_down = raw.top_down = top_down;
        read_result r = read_tga(make_tga(rle), 24);
        ASSERT_TRUE(r.has_buffer);
        EXPECT_EQ(r.pixels, read_tga(make_tga(raw), 24).pixels);
        EXPECT_EQ(r.pixels, rgb_bytes(pixels));
    }
    rle.runs_across_rows = false;
    EXPECT_EQ(read_tga(make_tga(rle), 24).pixels, rgb_bytes(pixels));
}

TEST(TgaRead, FiveBitChannelsAreMultipliedByEight)
{
    for (uint8_t bits : {15, 16}) {
        tga_recipe recipe = true_colour(4, 1, {0x7FFF, 0x8000, 0x7C00, 0x03E1}, bits);
        read_result r = read_tga(make_tga(recipe), 24);
        ASSERT_TRUE(r.has_buffer);
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{248, 248, 248, 0, 0, 0, 248, 0, 0, 0, 248, 8}));
    }
}

TEST(TgaRead, ThirtyTwoBitPixelsCarryAlpha)
{
    tga_recipe recipe = true_colour(2, 1, {0x80112233, 0x00445566}, 32);
    recipe.alpha_bits = 8;
    read_result r = read_tga(make_tga(recipe), 32);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66, 0}));
    EXPECT_EQ(read_tga(make_tga(recipe), 24).pixels, (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
}

TEST(TgaRead, ColourMapsSitAtTheirFirstIndex)
{
    // A 24-bit map of three entries placed at 2, 3 and 4.
    tga_recipe recipe = mapped({0xFF0000, 0x00FF00, 0x0000FF}, {2, 4, 3, 0}, 2);
    read_result r = read_tga(make_tga(recipe), 32);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255, 0, 0, 0, 0}));

    r = read_tga(make_tga(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{2, 4, 3, 0}));
    EXPECT_EQ(std::vector<uint8_t>(r.palette.begin(), r.palette.begin() + 20),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}));

    // Run-length indices through a map of 32-bit entries keep the map's alpha.
    tga_recipe rle = mapped({0x7F010203, 0xFF040506}, {1, 1, 1, 0});
    rle.image_type = 9;
    rle.map_entry_bits = 32;
    r = read_tga(make_tga(rle), 32);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{4, 5, 6, 255, 4, 5, 6, 255, 4, 5, 6, 255, 1, 2, 3, 0x7F}));
    r = read_tga(make_tga(rle), 8);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 1, 1, 0}));
    EXPECT_EQ(r.palette[3], 0x7F);

    // 16-bit map entries.
    tga_recipe words = mapped({0x7C00, 0x001F}, {1, 0});
    words.map_entry_bits = 16;
    EXPECT_EQ(read_tga(make_tga(words), 24).pixels, (std::vector<uint8_t>{0, 0, 248, 248, 0, 0}));
}

TEST(TgaRead, MapEntriesBeyondTheTableAreDropped)
{
    // Ten entries from position 250: the last four have no place.
    std::vector<uint32_t> map;
    for (uint32_t i = 0; i < 10; ++i)
        map.push_back(0x010101 * (i + 1));
    tga_recipe recipe = mapped(map, {250, 255, 0});
    recipe.map_first = 250;
    read_result r = read_tga(make_tga(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 1, 1, 6, 6, 6, 0, 0, 0}));

    // A first index past the table keeps nothing, and the pixels still follow the map.
    recipe.map_first = 300;
    r = read_tga(make_tga(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, std::vector<uint8_t>(9, 0));
}

TEST(TgaRead, GreyscaleFilesGetAGreyRamp)
{
    for (uint8_t type : {3, 11}) {
        tga_recipe recipe = true_colour(3, 1, {0, 0x80, 0xFF}, 8);
        recipe.image_type = type;
        read_result r = read_tga(make_tga(recipe), 8);
        ASSERT_TRUE(r.has_buffer) << (int)type;
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0x80, 0xFF}));
        EXPECT_EQ(std::vector<uint8_t>(r.palette.begin() + 4 * 0x80, r.palette.begin() + 4 * 0x81),
                  (std::vector<uint8_t>{0x80, 0x80, 0x80, 255}));
        EXPECT_EQ(read_tga(make_tga(recipe), 24).pixels, (std::vector<uint8_t>{0, 0, 0, 0x80, 0x80, 0x80, 255, 255, 255}));
    }
}

TEST(TgaRead, SixteenBitGreyIsAGreyLevelAndItsAlpha)
{
    for (uint8_t type : {3, 11}) {
        tga_recipe recipe = true_colour(3, 1, {0xFF80, 0x0040, 0x80FF}, 16);
        recipe.image_type = type;
        recipe.alpha_bits = 8;
        recipe.footer = true;
        const std::vector<uint8_t> file = make_tga(recipe);
        const std::vector<uint8_t> rgba = {0x80, 0x80, 0x80, 0xFF, 0x40, 0x40, 0x40, 0, 0xFF, 0xFF, 0xFF, 0x80};
        EXPECT_EQ(read_tga(file, 32).pixels, rgba) << (int)type;
        EXPECT_EQ(read_tga(file, 24).pixels,
                  (std::vector<uint8_t>{0x80, 0x80, 0x80, 0x40, 0x40, 0x40, 0xFF, 0xFF, 0xFF}));
        // As every file of more than 8 bits a pixel: no 8-bit read.
        EXPECT_EQ(read_tga(file, 8).error, 28);
        EXPECT_EQ(read_generic(file, 32).pixels, rgba);
    }
}

TEST(TgaRead, DepthsAndFilesThatDoNotMatch)
{
    EXPECT_EQ(read_tga(make_tga(true_colour(1, 1, {0})), 8).error, 28);
    tga_recipe wide = mapped({0, 0}, {1});
    wide.pixel_bits = 16;
    EXPECT_EQ(read_tga(make_tga(wide), 8).error, 28);
    EXPECT_EQ(read_tga(make_tga(wide), 24).pixels, (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(read_tga(make_tga(true_colour(1, 1, {0})), 16).error, 5);
    EXPECT_EQ(read_format(is_read_tga, make_tga(mapped({0}, {0})), 8, 0, false).error, 5);
}

TEST(TgaRead, DamagedAndUnsupportedFiles)
{
    auto error_of = [](const tga_recipe& recipe, int32_t depth = 24) {
        read_result r = read_tga(make_tga(recipe), depth);
        EXPECT_FALSE(r.has_buffer);
        return r.error;
    };
    tga_recipe recipe = true_colour(1, 1, {0});
    recipe.image_type = 4;
    EXPECT_EQ(error_of(recipe), 32);
    recipe = true_colour(1, 1, {0});
    recipe.pixel_bits = 40;
    EXPECT_EQ(error_of(recipe), 32);
    recipe = true_colour(0, 1, {});
    EXPECT_EQ(error_of(recipe), 32);
    recipe = true_colour(1, 0, {});
    EXPECT_EQ(error_of(recipe), 32);
    recipe = mapped({}, {0});
    recipe.map_type = 0;
    EXPECT_EQ(error_of(recipe), 32);
    EXPECT_EQ(error_of(recipe, 8), 32);
    recipe = mapped({0}, {0});
    recipe.map_entry_bits = 12;
    EXPECT_EQ(error_of(recipe), 32);

    // 16-bit indices that point past the 256-entry table.
    recipe = mapped({0xFFFFFF}, {0, 300});
    recipe.pixel_bits = 16;
    EXPECT_EQ(error_of(recipe), 32);

    // Cut short: header, colour map, pixel data, a run's value.
    EXPECT_EQ(read_tga(std::vector<uint8_t>(17, 0), 24).error, 3);
    std::vector<uint8_t> file = make_tga(mapped({1, 2, 3}, {0}));
    file.resize(20);
    EXPECT_EQ(read_tga(file, 24).error, 3);
    file = make_tga(true_colour(3, 2, six));
    file.pop_back();
    EXPECT_EQ(read_tga(file, 24).error, 3);
    EXPECT_FALSE(read_tga(file, 24).has_buffer);
    recipe = true_colour(2, 1, {5, 5});
    recipe.image_type = 10;
    file = make_tga(recipe);
    file.resize(20);
    EXPECT_EQ(read_tga(file, 24).error, 3);
}

TEST(TgaRead, FooterExtensionAndDeveloperDirectoryAreTraced)
{
    tga_recipe recipe = true_colour(1, 1, {0x123456});
    trace_capture plain;
    ASSERT_TRUE(read_tga(make_tga(recipe), 24).has_buffer);
    EXPECT_TRUE(plain.messages().empty());

    recipe.footer = recipe.extension = recipe.developer = true;
    trace_capture all;
    read_result r = read_tga(make_tga(recipe), 24);
    EXPECT_EQ(r.pixels, rgb_bytes({0x123456}));
    EXPECT_EQ(all.messages(),
              (std::vector<std::string>{"Found TGA footer\n", "Found TGA extension\n", "TGA has developer ext\n"}));
}

TEST(TgaRead, TheAbortCallbackIsAskedAfterEachRow)
{
    abort_at at{1};
    is_set_abort_callback(abort_at_step, &at);
    read_result r = read_tga(make_tga(true_colour(3, 2, six)), 24);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
    EXPECT_EQ(at.calls, 2);
}

TEST(TgaRead, PackedBitmapsAtTheFilesDepth)
{
    read_result r = read_tga(make_tga(true_colour(1, 2, {0x010203, 0x040506})), 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    ASSERT_EQ(r.pixels.size(), 48u);
    EXPECT_EQ(r.pixels[14], 24);
    // Bottom-up rows of blue, green, red padded to four bytes.
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin() + 40, r.pixels.end()),
              (std::vector<uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));

    r = read_tga(make_tga(true_colour(1, 1, {0x80010203}, 32)), 0, IS_FLAG_PACKED_DIB);
    EXPECT_EQ(r.pixels[14], 32);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin() + 40, r.pixels.end()), (std::vector<uint8_t>{3, 2, 1, 0x80}));
    r = read_tga(make_tga(mapped({0x0A0B0C}, {0})), 0, IS_FLAG_PACKED_DIB);
    EXPECT_EQ(r.pixels[14], 24);
}

TEST(TgaRead, TheGenericReadFindsTgaByFooterOrName)
{
    tga_recipe recipe = mapped({0x0A0B0C, 0xFFFFFF}, {1, 0});
    recipe.footer = true;
    trace_capture trace;
    read_result r = read_generic(make_tga(recipe), 0);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.depth, 8);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 0}));
    EXPECT_TRUE(trace.contains("Reading generic as TGA8\n"));

    tga_recipe rgba = true_colour(1, 1, {0x40302010}, 32);
    r = read_generic(make_tga(rgba), 0);  // no footer, no name: taken for a WBMP
    EXPECT_FALSE(r.has_buffer);
    temp_file named("picture.TGA", make_tga(rgba));
    ISSourceRecord* source = is_open_file_source(named.path());
    r = read_generic(source, 0);
    EXPECT_EQ(r.depth, 32);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x40}));
    r = read_generic(source, 24);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x30, 0x20, 0x10}));
    is_close_source(source);

    tga_recipe words = true_colour(1, 1, {0x7FFF}, 16);
    words.footer = true;
    r = read_generic(make_tga(words), 0);
    EXPECT_EQ(r.depth, 24);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{248, 248, 248}));
}

}  // namespace
