// The command-line tool's PNG output: straight colours come back from a
// premultiplied picture, and opaque pictures are written without alpha.
#include "loader/picture_copy.h"
#include "tools/cli/png_output.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct decoded_png {
    uint32_t width = 0;
    uint32_t height = 0;
    bool alpha = false;
    std::vector<uint8_t> rgba;  // always 4 bytes a pixel
};

decoded_png read_png(const std::string& path)
{
    decoded_png out;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return out;
    out.alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        out.width = image.width;
        out.height = image.height;
    }
    return out;
}

class PngOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        kit_init();
        char pattern[] = "/tmp/tilora-png.XXXXXX";
        folder_ = mkdtemp(pattern);
        path_ = folder_ + "/out.png";
    }
    void TearDown() override
    {
        std::remove(path_.c_str());
        rmdir(folder_.c_str());
    }
    std::string folder_;
    std::string path_;
};

TEST_F(PngOutput, UnpremultiplyingRoundsToTheNearest)
{
    EXPECT_EQ(unpremultiplied(0, 0), 0);
    EXPECT_EQ(unpremultiplied(128, 128), 255);
    EXPECT_EQ(unpremultiplied(1, 128), 2);    // 1.99
    EXPECT_EQ(unpremultiplied(64, 128), 128); // 127.5 rounds up
    EXPECT_EQ(unpremultiplied(200, 100), 255);  // impossible input is clamped
}

TEST_F(PngOutput, TransparentPicturesComeBackWithStraightColours)
{
    // Every value at a few alphas: what the loader premultiplies, the writer
    // must give back within the precision premultiplication left.
    const uint8_t alphas[] = {0, 1, 77, 128, 254, 255};
    std::vector<uint8_t> rgba;
    for (uint8_t a : alphas)
        for (int v = 0; v < 256; ++v)
            rgba.insert(rgba.end(), {(uint8_t)v, (uint8_t)(255 - v), (uint8_t)(v / 2), a});
    raster_image* image = image_from_buffer(rgba.data(), 256, 6, 4);
    ASSERT_NE(image, nullptr);
    std::string error;
    ASSERT_TRUE(write_image_png(path_.c_str(), image, &error)) << error;
    image_free(image);

    const decoded_png png = read_png(path_);
    ASSERT_EQ(png.width, 256u);
    ASSERT_EQ(png.height, 6u);
    EXPECT_TRUE(png.alpha);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const int a = rgba[i + 3];
        ASSERT_EQ(png.rgba[i + 3], a);
        // One step of premultiplied colour spans 255 / a straight values.
        const int tolerance = a == 0 ? 255 : 255 / (2 * a) + 1;
        for (int c = 0; c < 3; ++c)
            ASSERT_LE(std::abs(png.rgba[i + c] - rgba[i + c]), tolerance) << "pixel " << i / 4 << " alpha " << a;
        if (a == 255) {
            ASSERT_EQ(std::memcmp(&png.rgba[i], &rgba[i], 3), 0) << "pixel " << i / 4;
        }
    }
}

TEST_F(PngOutput, BuffersAreRgbUnlessSomePixelIsNotOpaque)
{
    const std::vector<uint8_t> opaque = {1, 2, 3, 255, 4, 5, 6, 255};
    std::string error;
    ASSERT_TRUE(write_buffer_png(path_.c_str(), opaque.data(), 2, 1, 4, &error)) << error;
    decoded_png png = read_png(path_);
    EXPECT_FALSE(png.alpha);
    EXPECT_EQ(png.rgba, opaque);

    const std::vector<uint8_t> see_through = {1, 2, 3, 255, 4, 5, 6, 7};
    ASSERT_TRUE(write_buffer_png(path_.c_str(), see_through.data(), 2, 1, 4, &error)) << error;
    png = read_png(path_);
    EXPECT_TRUE(png.alpha);
    EXPECT_EQ(png.rgba, see_through);

    const std::vector<uint8_t> rgb = {9, 8, 7};
    ASSERT_TRUE(write_buffer_png(path_.c_str(), rgb.data(), 1, 1, 3, &error)) << error;
    png = read_png(path_);
    EXPECT_EQ(png.rgba, (std::vector<uint8_t>{9, 8, 7, 255}));
}

TEST_F(PngOutput, AFailedWriteSaysWhyAndLeavesNoFile)
{
    const std::vector<uint8_t> rgb = {9, 8, 7};
    std::string error;
    const std::string nowhere = folder_ + "/missing/out.png";
    EXPECT_FALSE(write_buffer_png(nowhere.c_str(), rgb.data(), 1, 1, 3, &error));
    EXPECT_NE(error.find("cannot create the file"), std::string::npos) << error;
    // libpng refuses a zero width; its message is passed on.
    EXPECT_FALSE(write_buffer_png(path_.c_str(), rgb.data(), 0, 1, 3, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(access(path_.c_str(), F_OK), 0);
}

}  // namespace
