// Loading picture files as the program does: the extension gate, the road by
// content, refused formats, and clean failures.
#include "loader/load_picture.h"
#include "imageio/thread_state.h"
#include "raster/kit_test_hooks.h"
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/test_support.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

namespace {

class LoadPicture : public ::testing::Test {
protected:
    void SetUp() override { kit_init(); }
};

std::vector<uint8_t> colour_bytes(const raster_image* image)
{
    std::vector<uint8_t> bytes;
    for (int32_t y = 0; y < image->height; ++y) {
        const uint8_t* row = image->pixels + (size_t)y * image->stride;
        bytes.insert(bytes.end(), row, row + 3 * image->width);
    }
    return bytes;
}

std::vector<uint8_t> bmp_2x2(uint16_t bit_count, std::vector<uint32_t> pixels)
{
    bmp_recipe recipe;
    recipe.width = 2;
    recipe.height = 2;
    recipe.bit_count = bit_count;
    recipe.pixels = std::move(pixels);
    return make_bmp(recipe);
}

int open_descriptors()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

TEST_F(LoadPicture, TrueColourBmpBecomesBgr)
{
    temp_file file("picture.bmp", bmp_2x2(24, {0x112233, 0x445566, 0x778899, 0xAABBCC}));
    load_failure failure;
    raster_image* image = load_picture(file.path(), true, &failure);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(failure.code, 0);
    EXPECT_EQ(image->type, PIXEL_BGR24);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(colour_bytes(image),
              (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0xCC, 0xBB, 0xAA}));
    image_free(image);
}

TEST_F(LoadPicture, ThirtyTwoBitBmpTakesTheOpaqueRoad)
{
    // BMP is read at 24 bits: its fourth bytes never become transparency.
    temp_file file("picture.BMP", bmp_2x2(32, {0x00112233, 0x80445566, 0xFF778899, 0x01AABBCC}));
    raster_image* image = load_picture(file.path(), true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, PIXEL_BGR24);
    EXPECT_EQ(image->alpha, nullptr);
    EXPECT_EQ(colour_bytes(image)[0], 0x33);
    image_free(image);
}

TEST_F(LoadPicture, ExtensionOnlyGatesAndContentDecides)
{
    const std::vector<uint8_t> bmp = bmp_2x2(24, {1, 2, 3, 4});
    temp_file as_png("picture.png", bmp);
    raster_image* image = load_picture(as_png.path(), true);
    ASSERT_NE(image, nullptr);
    image_free(image);

    temp_file as_text("picture.txt", bmp);
    load_failure failure;
    EXPECT_EQ(load_picture(as_text.path(), true, &failure), nullptr);
    EXPECT_EQ(failure.code, IS_ERR_CANT_OPEN);
    EXPECT_STREQ(failure.reason, "file name extension not accepted");
    image = load_picture(as_text.path(), false, &failure);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(failure.code, 0);
    image_free(image);

    temp_file bare("scan", bmp);
    image = load_picture(bare.path(), true);
    ASSERT_NE(image, nullptr);
    image_free(image);
}

TEST_F(LoadPicture, RecognisedFormatsWithoutAReaderAreRefused)
{
    struct refused_case {
        const char* name;
        std::vector<uint8_t> bytes;
        int32_t code;
        const char* reason;
    };
    const std::vector<refused_case> cases = {
        // 16 x 2 pixels; a file shorter than a TGA footer would not be told apart.
        {"wireless.bmp", {0, 0, 16, 2, 0xFF, 0xFF, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, IS_ERR_NO_READER,
         "WBMP files are not supported"},
        {"tiles.bmp", {'T', 'L', 'A', 'U', 0, 0, 0, 0}, IS_ERR_NO_READER, "TLA files are not supported"},
        {"locked.bmp", {'T', 'L', 'A', 1, 0, 0, 0, 0}, IS_ERR_PROTECTED_TLA,
         "password-protected TLA files are not supported"},
        {"archive.bmp", {'P', 'A', 'X', 0, 0, 0}, IS_ERR_NO_READER, "PAX files are not supported"},
        {"document.bmp", {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1}, IS_ERR_NO_READER,
         "OLE compound documents are not supported"},
        {"words.jpg", std::vector<uint8_t>(100, 'x'), IS_ERR_CANT_OPEN, "unrecognised picture format"},
        {"empty.jpg", {}, IS_ERR_CANT_OPEN, "unrecognised picture format"},
    };
    for (const refused_case& c : cases) {
        temp_file file(c.name, c.bytes);
        load_failure failure;
        EXPECT_EQ(load_picture(file.path(), true, &failure), nullptr) << c.name;
        EXPECT_EQ(failure.code, c.code) << c.name;
        EXPECT_STREQ(failure.reason, c.reason) << c.name;
    }
}

TEST_F(LoadPicture, LibraryFailuresCarryTheLibrarysCode)
{
    load_failure failure;
    EXPECT_EQ(load_picture("/nonexistent/folder/picture.bmp", true, &failure), nullptr);
    EXPECT_EQ(failure.code, IS_ERR_CANT_OPEN);
    EXPECT_STREQ(failure.reason, is_error_text(IS_ERR_CANT_OPEN));

    std::vector<uint8_t> truncated = bmp_2x2(24, {1, 2, 3, 4});
    truncated.resize(20);
    temp_file file("short.bmp", truncated);
    EXPECT_EQ(load_picture(file.path(), true, &failure), nullptr);
    EXPECT_NE(failure.code, 0);
    EXPECT_STREQ(failure.reason, is_error_text(failure.code));
}

TEST_F(LoadPicture, FailuresLeaveNoFileOpenAndNoImageBehind)
{
    std::vector<uint8_t> pcd(2100, 0x11);
    pcd[2048] = 'P';
    pcd[2049] = 'C';
    pcd[2050] = 'D';
    temp_file photo_cd("photo.pcd", pcd);
    temp_file codestream("picture.j2k", {0xFF, 0x4F, 0xFF, 0x51, 0, 0});
    temp_file jp2("picture.jp2", {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A});
    temp_file wbmp("picture.bmp", {0, 0, 1, 1, 0});
    temp_file bmp("picture.dib", bmp_2x2(24, {1, 2, 3, 4}));

    const uint32_t sequence = kit_alloc_sequence();
    const int descriptors = open_descriptors();
    for (const temp_file* file : {&photo_cd, &codestream, &jp2, &wbmp})
        EXPECT_EQ(load_picture(file->path(), true), nullptr) << file->path();

    // No memory for the image: the library's buffer and the file go too.
    const kit_alloc_hook previous = kit_replace_alloc_hook([](uint64_t) -> void* { return nullptr; });
    load_failure failure;
    EXPECT_EQ(load_picture(bmp.path(), true, &failure), nullptr);
    kit_replace_alloc_hook(previous);
    EXPECT_EQ(failure.code, IS_ERR_NO_MEMORY);

    EXPECT_EQ(open_descriptors(), descriptors);
    EXPECT_EQ(kit_alloc_sequence(), sequence);
}

TEST_F(LoadPicture, SetsTheTwoReaderOptionsBeforeEveryLoad)
{
    is_set_jpeg_scale(1, 8);
    temp_file file("picture.bmp", bmp_2x2(24, {1, 2, 3, 4}));
    raster_image* image = load_picture(file.path(), true);
    ASSERT_NE(image, nullptr);
    image_free(image);
    EXPECT_EQ(is_thread_state()->jpeg.scale_denom, 1);
    EXPECT_EQ(is_thread_state()->jpeg.option, 3);
}

}  // namespace
