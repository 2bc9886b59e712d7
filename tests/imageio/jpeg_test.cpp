// The JPEG reader: greyscale, colour and CMYK files at every depth they can
// be delivered at, scaled decoding, markers, packed bitmaps and damaged files.
#include "imageio/buffer.h"
#include "imageio/readers/jpeg.h"
#include "imageio/thread_state.h"
#include "tests/imageio/reads.h"
#include "tests/writers/jpeg_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

read_result read_jpeg(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0)
{
    return read_codec(file, depth, [&](ISSourceRecord* s, uint32_t* w, uint32_t* h, uint8_t*) {
        return is_read_jpeg(s, w, h, depth, flags);
    });
}

// Flat 16 x 16 blocks decode to their colour within a few levels, chroma
// subsampling included.
jpeg_recipe flat_blocks(int components, const std::vector<std::vector<uint8_t>>& blocks)
{
    jpeg_recipe recipe;
    recipe.components = components;
    recipe.width = 16 * (uint32_t)blocks.size();
    recipe.height = 16;
    for (uint32_t y = 0; y < recipe.height; ++y)
        for (const auto& block : blocks)
            for (int x = 0; x < 16; ++x)
                recipe.pixels.insert(recipe.pixels.end(), block.begin(), block.end());
    return recipe;
}

// The inside of the 16 x 16 block b of a decoded picture with the given
// bytes a pixel (upsampled chroma blurs the block's edges).
std::vector<uint8_t> block(const read_result& r, uint32_t b, uint32_t bytes)
{
    std::vector<uint8_t> out;
    for (uint32_t y = 2; y < 14; ++y)
        for (uint32_t x = 16 * b + 2; x < 16 * b + 14; ++x)
            for (uint32_t i = 0; i < bytes; ++i)
                out.push_back(r.pixels[((uint64_t)y * r.width + x) * bytes + i]);
    return out;
}

TEST(JpegReader, GreyscaleAt8And24BitsButNot32)
{
    const std::vector<uint8_t> file = make_jpeg(flat_blocks(1, {{40}, {220}}));
    read_result grey = read_jpeg(file, 8);
    ASSERT_TRUE(grey.has_buffer) << grey.error;
    EXPECT_EQ(grey.width, 32u);
    EXPECT_EQ(grey.height, 16u);
    EXPECT_LE(max_difference(block(grey, 0, 1), repeated({40}, 144)), 2);
    EXPECT_LE(max_difference(block(grey, 1, 1), repeated({220}, 144)), 2);

    read_result rgb = read_jpeg(file, 24);
    ASSERT_TRUE(rgb.has_buffer);
    for (size_t i = 0; i < grey.pixels.size(); ++i)
        ASSERT_EQ(std::vector<uint8_t>(rgb.pixels.begin() + 3 * i, rgb.pixels.begin() + 3 * i + 3),
                  std::vector<uint8_t>(3, grey.pixels[i]));

    trace_capture trace;
    read_result refused = read_jpeg(file, 32);
    EXPECT_FALSE(refused.has_buffer);
    EXPECT_EQ(refused.error, 28);
    EXPECT_TRUE(trace.contains("DIRad JPG Error : Invalid bit depth requested (can't read 8-bit to 32-bit)\n"));

    // The generic read chooses 8 bits for greyscale and sets up a grey ramp.
    read_result generic = read_generic(file, 0);
    EXPECT_EQ(generic.depth, 8);
    EXPECT_EQ(generic.pixels, grey.pixels);
    EXPECT_EQ(std::vector<uint8_t>(generic.palette.begin() + 4 * 77, generic.palette.begin() + 4 * 78),
              (std::vector<uint8_t>{77, 77, 77, 0}));
    EXPECT_TRUE(trace.contains("Reading generic as JPG8\n"));
}

TEST(JpegReader, ColourAt24BitsOnlyAndAsYCbCr)
{
    const std::vector<uint8_t> file = make_jpeg(flat_blocks(3, {{255, 0, 0}, {0, 0, 255}, {30, 160, 90}}));
    read_result rgb = read_jpeg(file, 24);
    ASSERT_TRUE(rgb.has_buffer) << rgb.error;
    EXPECT_LE(max_difference(block(rgb, 0, 3), repeated({255, 0, 0}, 144)), 4);
    EXPECT_LE(max_difference(block(rgb, 1, 3), repeated({0, 0, 255}, 144)), 4);
    EXPECT_LE(max_difference(block(rgb, 2, 3), repeated({30, 160, 90}, 144)), 4);

    EXPECT_EQ(read_jpeg(file, 8).error, 28);
    EXPECT_EQ(read_jpeg(file, 32).error, 28);
    EXPECT_EQ(read_jpeg(file, 16).error, 5);

    // Red is Y 76, Cb 85, Cr 255.
    read_result ycc = read_jpeg(file, 24, JPEG_FLAG_KEEP_YCBCR);
    ASSERT_TRUE(ycc.has_buffer);
    EXPECT_LE(max_difference(block(ycc, 0, 3), repeated({76, 85, 255}, 144)), 4);

    // 32 bits through the generic read: the 24-bit picture with opaque alpha.
    read_result rgba = read_generic(file, 32);
    ASSERT_EQ(rgba.pixels.size(), rgb.pixels.size() / 3 * 4);
    for (size_t i = 0; i < rgb.pixels.size() / 3; ++i) {
        ASSERT_EQ(0, std::memcmp(&rgba.pixels[4 * i], &rgb.pixels[3 * i], 3));
        ASSERT_EQ(rgba.pixels[4 * i + 3], 255);
    }
    EXPECT_EQ(read_generic(file, 0).depth, 24);
}

TEST(JpegReader, CmykAndYcckAreMultipliedByBlackOrKeptWhole)
{
    for (bool ycck : {false, true}) {
        jpeg_recipe recipe = flat_blocks(4, {{200, 100, 50, 128}, {255, 255, 255, 255}});
        recipe.ycck = ycck;
        const std::vector<uint8_t> file = make_jpeg(recipe);

        read_result cmyk = read_jpeg(file, 32, JPEG_FLAG_KEEP_CMYK);
        ASSERT_TRUE(cmyk.has_buffer) << cmyk.error;
        EXPECT_LE(max_difference(block(cmyk, 0, 4), repeated({200, 100, 50, 128}, 144)), 4);

        read_result rgb = read_jpeg(file, 24);
        ASSERT_TRUE(rgb.has_buffer);
        for (size_t i = 0; i < (size_t)rgb.width * rgb.height; ++i) {
            const uint8_t* c = &cmyk.pixels[4 * i];
            ASSERT_EQ(rgb.pixels[3 * i], c[0] * c[3] / 255);
            ASSERT_EQ(rgb.pixels[3 * i + 1], c[1] * c[3] / 255);
            ASSERT_EQ(rgb.pixels[3 * i + 2], c[2] * c[3] / 255);
        }
        EXPECT_EQ(read_jpeg(file, 32).error, 28);
        EXPECT_EQ(read_jpeg(file, 24, JPEG_FLAG_KEEP_CMYK).error, 28);
    }
}

TEST(JpegReader, TruncatedFilesEndAsIfTheirEndMarkerWereThere)
{
    jpeg_recipe recipe = flat_blocks(3, {{10, 200, 30}, {10, 200, 30}});
    recipe.height = 16;
    std::vector<uint8_t> file = make_jpeg(recipe);
    const read_result whole = read_jpeg(file, 24);
    // Cut halfway into the entropy-coded data after the start-of-scan marker.
    size_t scan = 0;
    for (size_t i = 0; i + 1 < file.size() && !scan; ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xDA)
            scan = i;
    ASSERT_NE(scan, 0u);
    file.resize(scan + (file.size() - scan) / 2);
    trace_capture trace;
    const read_result cut = read_jpeg(file, 24);
    ASSERT_TRUE(cut.has_buffer);
    EXPECT_EQ(cut.error, 0);
    EXPECT_EQ(cut.width, whole.width);
    EXPECT_EQ(cut.height, whole.height);
    EXPECT_FALSE(trace.messages().empty());

    // Nothing after the start marker, or nothing at all past the signature.
    for (std::vector<uint8_t> stub : {std::vector<uint8_t>{0xFF, 0xD8, 0xFF}, std::vector<uint8_t>{0xFF, 0xD8}}) {
        read_result r = read_jpeg(stub, 24);
        EXPECT_FALSE(r.has_buffer);
        EXPECT_EQ(r.error, 9);
    }
}

TEST(JpegReader, ScaleFromTheThreadState)
{
    jpeg_recipe recipe;
    recipe.components = 1;
    recipe.width = 17;
    recipe.height = 9;
    recipe.pixels.assign(17 * 9, 128);
    const std::vector<uint8_t> file = make_jpeg(recipe);
    is_set_jpeg_scale(1, 2);
    read_result half = read_jpeg(file, 8);
    is_set_jpeg_scale(1, 1);
    EXPECT_EQ(half.width, 9u);
    EXPECT_EQ(half.height, 5u);
    EXPECT_LE(max_difference(half.pixels, std::vector<uint8_t>(45, 128)), 2);

    is_set_jpeg_scale(0, -3);  // nonsense scales read at full size
    read_result full = read_jpeg(file, 8);
    is_set_jpeg_scale(1, 1);
    EXPECT_EQ(full.width, 17u);
}

TEST(JpegReader, CommentsAndMarkersOfTheLastRead)
{
    jpeg_recipe recipe = flat_blocks(3, {{1, 2, 3}});
    recipe.comments = {"first note", "second"};
    recipe.markers = {{0xE1, {'E', 'x', 'i', 'f', 0, 0, 1, 2}}, {0xEF, {9}}};
    trace_capture trace;
    ASSERT_TRUE(read_jpeg(make_jpeg(recipe), 24).has_buffer);
    const is_jpeg_options& jpeg = is_thread_state()->jpeg;
    EXPECT_EQ(jpeg.comments, (std::vector<std::string>{"first note", "second"}));
    ASSERT_EQ(jpeg.markers.size(), 1u);  // APP15 is not kept
    EXPECT_EQ(jpeg.markers[0].code, 0xE1);
    EXPECT_EQ(jpeg.markers[0].bytes, (std::vector<uint8_t>{'E', 'x', 'i', 'f', 0, 0, 1, 2}));
    EXPECT_TRUE(trace.contains("DIRad JPG comment : first note\n"));
    EXPECT_TRUE(trace.contains("DIRad JPG marker # 225, len: 8\n"));

    ASSERT_TRUE(read_jpeg(make_jpeg(flat_blocks(1, {{5}})), 8).has_buffer);
    EXPECT_TRUE(is_thread_state()->jpeg.comments.empty());
    EXPECT_TRUE(is_thread_state()->jpeg.markers.empty());
}

TEST(JpegReader, PackedBitmapsAndPaddedRows)
{
    jpeg_recipe grey = flat_blocks(1, {{90}});
    grey.width = 5;
    grey.height = 3;
    grey.pixels.assign(15, 90);
    memory_source grey_source(make_jpeg(grey));
    uint32_t w = 0, h = 0;
    uint8_t* dib = is_read_jpeg(grey_source.get(), &w, &h, 24, IS_FLAG_PACKED_DIB);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(w, 5u);
    EXPECT_EQ(dib[14], 8);  // greyscale is forced to 8 bits
    EXPECT_EQ(0, std::memcmp(dib + 40 + 4 * 200, "\xC8\xC8\xC8\xFF", 4));
    EXPECT_NEAR(dib[40 + 1024], 90, 2);
    EXPECT_EQ(dib[40 + 1024 + 5], 0);  // padding
    is_global_free(dib);

    jpeg_recipe colour = flat_blocks(3, {{250, 10, 10}});
    memory_source colour_source(make_jpeg(colour));
    dib = is_read_jpeg(colour_source.get(), &w, &h, 24, IS_FLAG_PACKED_DIB);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib[14], 24);
    EXPECT_NEAR(dib[40], 10, 4);   // blue first
    EXPECT_NEAR(dib[42], 250, 4);
    is_global_free(dib);

    colour.width = 5;
    colour.pixels.resize(5 * 16 * 3);
    memory_source padded_source(make_jpeg(colour));
    uint8_t* padded = is_read_jpeg(padded_source.get(), &w, &h, 24, JPEG_FLAG_PAD_ROWS);
    ASSERT_NE(padded, nullptr);
    EXPECT_EQ(w, 5u);
    EXPECT_NEAR(padded[16], 250, 4);  // second row starts at 16
    is_global_free(padded);
}

TEST(JpegReader, KeepPositionLeavesTheSourceAfterTheData)
{
    std::vector<uint8_t> file = make_jpeg(flat_blocks(3, {{1, 2, 3}}));
    const size_t jpeg_size = file.size();
    file.insert(file.end(), 5000, 'x');
    memory_source source(file);
    uint32_t w = 0, h = 0;
    uint8_t* pixels = is_read_jpeg(source.get(), &w, &h, 24, JPEG_FLAG_KEEP_POSITION);
    ASSERT_NE(pixels, nullptr);
    is_global_free(pixels);
    int64_t position = 0;
    ASSERT_TRUE(is_tell(source.get(), &position));
    EXPECT_EQ(position, (int64_t)jpeg_size);
}

int32_t stop_at_row_3(int32_t step, int32_t, void*)
{
    return step < 3;
}

TEST(JpegReader, CancelledSizeLimitedAndProgressive)
{
    jpeg_recipe recipe = flat_blocks(3, {{5, 5, 5}, {7, 7, 7}});
    const std::vector<uint8_t> baseline = make_jpeg(recipe);
    is_set_abort_callback(stop_at_row_3, nullptr);
    read_result cancelled = read_jpeg(baseline, 24);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_FALSE(cancelled.has_buffer);
    EXPECT_EQ(cancelled.error, 14);

    recipe.progressive = true;
    const std::vector<uint8_t> progressive = make_jpeg(recipe);
    EXPECT_EQ(read_jpeg(progressive, 24).pixels, read_jpeg(baseline, 24).pixels);

    is_set_buffer_limit(500);
    read_result big = read_jpeg(progressive, 24);
    is_set_buffer_limit(0);
    EXPECT_FALSE(big.has_buffer);
    EXPECT_NE(big.error, 0);
}

}  // namespace
