// The TIFF reader: the eight orientations, compressions and layouts of true
// colour, grey, palette and bilevel images, directories and damaged files.
#include "imageio/buffer.h"
#include "imageio/readers/tiff.h"
#include "imageio/thread_state.h"
#include "tests/imageio/reads.h"
#include "tests/writers/tiff_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

read_result read_tiff(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0, int32_t directory = 0)
{
    return read_codec(file, depth, [&](ISSourceRecord* s, uint32_t* w, uint32_t* h, uint8_t* p) {
        return is_read_tiff(s, w, h, directory, depth, p, flags);
    });
}

std::vector<uint8_t> entry(const read_result& r, int i)
{
    return std::vector<uint8_t>(r.palette.begin() + 4 * i, r.palette.begin() + 4 * i + 4);
}

// Pixels A to F stored as two rows of three: A B C / D E F.
const uint8_t A[3] = {10, 0, 0}, B[3] = {20, 0, 0}, C[3] = {30, 0, 0}, D[3] = {40, 0, 0}, E[3] = {50, 0, 0},
              F[3] = {60, 0, 0};

tiff_recipe six_pixels(uint16_t orientation)
{
    tiff_recipe recipe;
    recipe.width = 3;
    recipe.height = 2;
    recipe.orientation = orientation;
    for (const uint8_t* p : {A, B, C, D, E, F})
        recipe.data.insert(recipe.data.end(), p, p + 3);
    return recipe;
}

// The red bytes of a 24-bit buffer, row by row.
std::vector<uint8_t> reds(const read_result& r)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < r.pixels.size(); i += 3)
        out.push_back(r.pixels[i]);
    return out;
}

TEST(TiffReader, EveryOrientationIsDeliveredAsDisplayed)
{
    struct expected {
        uint16_t orientation;
        uint32_t width;
        std::vector<uint8_t> rows;
    };
    const expected cases[] = {
        {1, 3, {10, 20, 30, 40, 50, 60}},   // as stored
        {2, 3, {30, 20, 10, 60, 50, 40}},   // mirrored
        {3, 3, {60, 50, 40, 30, 20, 10}},   // half turn
        {4, 3, {40, 50, 60, 10, 20, 30}},   // upside down
        {5, 2, {10, 40, 20, 50, 30, 60}},   // transposed
        {6, 2, {40, 10, 50, 20, 60, 30}},   // quarter turn clockwise
        {7, 2, {60, 30, 50, 20, 40, 10}},   // transposed the other way
        {8, 2, {30, 60, 20, 50, 10, 40}},   // quarter turn counter-clockwise
    };
    for (const expected& c : cases) {
        const std::vector<uint8_t> file = make_tiff(six_pixels(c.orientation));
        read_result r = read_tiff(file, 24);
        ASSERT_TRUE(r.has_buffer) << c.orientation << ": " << r.error;
        EXPECT_EQ(r.width, c.width) << c.orientation;
        EXPECT_EQ(r.height, 6 / c.width) << c.orientation;
        EXPECT_EQ(reds(r), c.rows) << c.orientation;

        read_result rgba = read_generic(file, 32);
        ASSERT_EQ(rgba.pixels.size(), 24u);
        EXPECT_EQ(rgba.pixels[0], c.rows[0]) << c.orientation;
        EXPECT_EQ(rgba.pixels[3], 255);

        read_result stored = read_tiff(file, 24, TIFF_FLAG_IGNORE_ORIENTATION);
        EXPECT_EQ(reds(stored), cases[0].rows) << c.orientation;
    }
}

TEST(TiffReader, TrueColourLayoutsAndCompressions)
{
    tiff_recipe recipe;
    recipe.width = 37;
    recipe.height = 21;
    for (uint32_t i = 0; i < recipe.width * recipe.height * 3; ++i)
        recipe.data.push_back((uint8_t)(i * 31 + i / 7));
    const std::vector<uint8_t> expected = recipe.data;
    for (uint16_t compression : {1, 5, 8}) {
        tiff_recipe variant = recipe;
        variant.compression = compression;
        variant.rows_per_strip = 4;
        EXPECT_EQ(read_tiff(make_tiff(variant), 24).pixels, expected) << compression;
    }
    tiff_recipe planes = recipe;
    planes.planar = 2;
    EXPECT_EQ(read_tiff(make_tiff(planes), 24).pixels, expected);
    tiff_recipe tiles = recipe;
    tiles.tile_size = 16;
    EXPECT_EQ(read_tiff(make_tiff(tiles), 24).pixels, expected);
    // The same from a file rather than from memory.
    temp_file named("tiles.tif", make_tiff(tiles));
    ISSourceRecord* source = is_open_file_source(named.path());
    EXPECT_EQ(read_generic(source, 24).pixels, expected);
    is_close_source(source);

    tiff_recipe rgba;
    rgba.width = 2;
    rgba.samples = 4;
    rgba.extra_samples = 1;
    rgba.data = {10, 20, 30, 40, 50, 60, 70, 255};
    const std::vector<uint8_t> file = make_tiff(rgba);
    EXPECT_EQ(read_tiff(file, 32).pixels, rgba.data);
    EXPECT_EQ(read_tiff(file, 24).pixels, (std::vector<uint8_t>{10, 20, 30, 50, 60, 70}));
    EXPECT_EQ(read_generic(file, 0).depth, 32);
    EXPECT_EQ(read_generic(make_tiff(recipe), 0).depth, 24);
}

TEST(TiffReader, GreyAndPaletteImagesFromTheirSamples)
{
    tiff_recipe grey;
    grey.width = 4;
    grey.samples = 1;
    grey.photometric = 1;
    grey.data = {0, 100, 200, 255};
    read_result levels = read_tiff(make_tiff(grey), 8);
    EXPECT_EQ(levels.pixels, grey.data);
    EXPECT_EQ(entry(levels, 100), (std::vector<uint8_t>{100, 100, 100, 0}));
    EXPECT_EQ(read_generic(make_tiff(grey), 0).depth, 8);
    EXPECT_EQ(read_tiff(make_tiff(grey), 24).pixels,
              (std::vector<uint8_t>{0, 0, 0, 100, 100, 100, 200, 200, 200, 255, 255, 255}));

    grey.photometric = 0;  // white is zero: same samples, reversed ramp
    read_result inverted = read_tiff(make_tiff(grey), 8);
    EXPECT_EQ(inverted.pixels, grey.data);
    EXPECT_EQ(entry(inverted, 0), (std::vector<uint8_t>{255, 255, 255, 0}));
    EXPECT_EQ(read_tiff(make_tiff(grey), 24).pixels[0], 255);

    tiff_recipe deep = grey;
    deep.photometric = 1;
    deep.bits = 16;
    deep.width = 2;
    deep.data = {0x34, 0x12, 0xFF, 0xAB};  // little-endian samples 0x1234, 0xABFF
    EXPECT_EQ(read_tiff(make_tiff(deep), 16).pixels, deep.data);
    EXPECT_EQ(read_tiff(make_tiff(deep), 8).pixels, (std::vector<uint8_t>{0x12, 0xAB}));

    tiff_recipe indexed;
    indexed.width = 3;
    indexed.samples = 1;
    indexed.bits = 4;
    indexed.photometric = 3;
    indexed.colormap.assign(48, 0);
    indexed.colormap[2] = 0xFF00;       // red of entry 2
    indexed.colormap[16 + 5] = 0x8000;  // green of entry 5
    indexed.data = {0x25, 0xF0};
    read_result palette = read_tiff(make_tiff(indexed), 8);
    EXPECT_EQ(palette.pixels, (std::vector<uint8_t>{2, 5, 15}));
    EXPECT_EQ(entry(palette, 2), (std::vector<uint8_t>{0, 0, 0xFF, 0}));
    EXPECT_EQ(entry(palette, 5), (std::vector<uint8_t>{0, 0x80, 0, 0}));

    tiff_recipe colour = six_pixels(1);
    EXPECT_EQ(read_tiff(make_tiff(colour), 8).error, 28);
    EXPECT_EQ(read_tiff(make_tiff(colour), 1).error, 28);
}

TEST(TiffReader, BilevelImagesAndFaxCompression)
{
    tiff_recipe fax;
    fax.width = 12;
    fax.height = 3;
    fax.samples = 1;
    fax.bits = 1;
    fax.photometric = 0;
    fax.data = {0xF0, 0x30, 0x0F, 0x00, 0xAA, 0x50};
    for (uint16_t compression : {1, 3, 4}) {
        fax.compression = compression;
        const std::vector<uint8_t> file = make_tiff(fax);
        trace_capture trace;
        read_result bits = read_generic(file, 0);
        EXPECT_EQ(bits.depth, 1) << compression;
        EXPECT_EQ(bits.pixels, fax.data) << compression;
        EXPECT_EQ(entry(bits, 0), (std::vector<uint8_t>{255, 255, 255, 0}));
        EXPECT_EQ(entry(bits, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
        EXPECT_TRUE(trace.contains("Reading generic as TIFF1\n"));
        read_result rgb = read_tiff(file, 24);
        EXPECT_EQ(std::vector<uint8_t>(rgb.pixels.begin(), rgb.pixels.begin() + 15),
                  (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255}));
    }
}

TEST(TiffReader, TiledSamplesDirectoriesAndPackedBitmaps)
{
    tiff_recipe tiled;
    tiled.width = 40;
    tiled.height = 20;
    tiled.samples = 1;
    tiled.photometric = 1;
    tiled.tile_size = 16;
    for (uint32_t i = 0; i < 800; ++i)
        tiled.data.push_back((uint8_t)(i * 13));
    tiff_recipe second = six_pixels(1);
    const std::vector<uint8_t> file = make_tiff(std::vector<tiff_recipe>{tiled, second});
    EXPECT_EQ(read_tiff(file, 8).pixels, tiled.data);
    read_result next = read_tiff(file, 24, 0, 1);
    EXPECT_EQ(reds(next), (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(read_tiff(file, 24, 0, 2).error, 5);
    EXPECT_EQ(read_tiff(file, 24, 0, -1).error, 5);

    memory_source source(make_tiff(second));
    uint32_t w = 0, h = 0;
    uint8_t* dib = is_read_tiff(source.get(), &w, &h, 0, 0, nullptr, IS_FLAG_PACKED_DIB);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib[14], 24);
    EXPECT_EQ(dib[40], 0);       // bottom row first, blue first: D
    EXPECT_EQ(dib[42], 40);
    EXPECT_EQ(dib[40 + 12 + 2], 10);  // then the top row, after 3 padding bytes: A
    is_global_free(dib);
}

int32_t stop_at_once(int32_t, int32_t, void*)
{
    return 0;
}

TEST(TiffReader, DamagedAndRefusedFiles)
{
    tiff_recipe recipe;
    recipe.width = 64;
    recipe.height = 64;
    recipe.rows_per_strip = 8;
    recipe.data.assign(64 * 64 * 3, 77);
    std::vector<uint8_t> file = make_tiff(recipe);

    EXPECT_EQ(read_tiff({'I', 'I', 42, 0, 8, 0, 0, 0}, 24).error, 20);
    EXPECT_EQ(read_tiff({'M', 'M', 0, 42}, 24).error, 20);
    EXPECT_EQ(read_generic(std::vector<uint8_t>{'I', 'I', 42, 0}, 24).error, 20);

    // Strips cut off: the read stops with an error, never past the data.
    std::vector<uint8_t> cut = file;
    std::vector<uint8_t> no_strips(cut.begin(), cut.begin() + 8);
    no_strips.resize(cut.size(), 0);
    EXPECT_FALSE(read_tiff(no_strips, 24).has_buffer);

    recipe.write_photometric = false;
    recipe.samples = 1;
    recipe.data.resize(64 * 64);
    trace_capture trace;
    read_result unknown = read_tiff(make_tiff(recipe), 8);
    EXPECT_FALSE(unknown.has_buffer);
    EXPECT_EQ(unknown.error, 28);
    EXPECT_TRUE(trace.contains("Can't determine TIFF photometric\n"));

    recipe.write_photometric = true;
    recipe.photometric = 1;
    is_set_abort_callback(stop_at_once, nullptr);
    EXPECT_EQ(read_tiff(file, 24).error, 14);
    EXPECT_EQ(read_tiff(make_tiff(recipe), 8).error, 14);
    is_set_abort_callback(nullptr, nullptr);

    is_set_buffer_limit(64 * 64 * 4 - 1);
    EXPECT_EQ(read_tiff(file, 24).error, 1);
    is_set_buffer_limit(0);
    EXPECT_EQ(read_tiff(file, 12).error, 5);
    EXPECT_EQ(read_tiff(file, 8, 0).error, 28);
}

}  // namespace
