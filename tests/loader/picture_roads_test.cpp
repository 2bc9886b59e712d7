// The Photo CD, JPEG 2000 and metafile roads, driven through stand-ins for
// their readers.
#include "loader/load_picture.h"
#include "loader/picture_roads.h"
#include "tests/imageio/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A Photo CD reader that fails above a given resolution, after reading a
// little, and records the resolutions and where the source stood.
struct pcd_stand_in {
    static inline int32_t best = 0;
    static inline std::vector<int32_t> resolutions;
    static inline std::vector<int64_t> positions;

    static uint8_t* read(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t resolution,
                         uint32_t flags)
    {
        EXPECT_EQ(flags, 0u);
        int64_t position = -1;
        is_tell(source, &position);
        positions.push_back(position);
        resolutions.push_back(resolution);
        uint8_t scratch[16];
        is_read(source, scratch, sizeof scratch);
        if (resolution > best) {
            *width = *height = 0;
            return nullptr;
        }
        *width = (uint32_t)resolution;
        *height = 1;
        return static_cast<uint8_t*>(is_global_alloc(3u * (uint32_t)resolution));
    }
};

TEST(PictureRoads, PhotoCdTakesTheHighestResolutionThatReads)
{
    memory_source source(std::vector<uint8_t>(64, 0));
    pcd_stand_in::best = 4;
    pcd_stand_in::resolutions.clear();
    pcd_stand_in::positions.clear();
    road_result road = read_photo_cd_road(source.get(), pcd_stand_in::read);
    ASSERT_NE(road.buffer, nullptr);
    EXPECT_EQ(road.width, 4u);
    EXPECT_EQ(road.bytes_per_pixel, 3);
    EXPECT_EQ(pcd_stand_in::resolutions, (std::vector<int32_t>{6, 5, 4}));
    EXPECT_EQ(pcd_stand_in::positions, (std::vector<int64_t>{0, 0, 0}));
    is_global_free(road.buffer);

    pcd_stand_in::best = 0;
    pcd_stand_in::resolutions.clear();
    road = read_photo_cd_road(source.get(), pcd_stand_in::read);
    EXPECT_EQ(road.buffer, nullptr);
    EXPECT_EQ(pcd_stand_in::resolutions, (std::vector<int32_t>{6, 5, 4, 3, 2, 1}));
}

// A JPEG 2000 module that keeps a copy of the table and reads through it.
struct j2k_stand_in {
    static inline is_io_callbacks table{};
    static inline bool accept = true;
    static inline std::vector<uint8_t> first_bytes;

    static bool set(const is_io_callbacks* given)
    {
        if (!accept || given->table_size != sizeof(is_io_callbacks)) {
            given->set_last_error(IS_ERR_BAD_ARGUMENT);
            return false;
        }
        std::memcpy(&table, given, sizeof table);
        return true;
    }

    static uint8_t* read(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, double scale,
                         uint32_t flags)
    {
        EXPECT_EQ(depth, 24);
        EXPECT_EQ(scale, 1.0);
        EXPECT_EQ(flags, 0u);
        first_bytes.assign(2, 0);
        table.read(source, first_bytes.data(), 2);
        if (first_bytes[0] != 0xFF) {
            table.set_last_error(IS_ERR_READ);
            return nullptr;
        }
        *width = 2;
        *height = 1;
        table.set_last_error(IS_OK);
        return static_cast<uint8_t*>(is_global_alloc(6));
    }
};

TEST(PictureRoads, JpegTwoThousandReadsThroughItsCopyOfTheTable)
{
    const j2k_module module = {j2k_stand_in::set, j2k_stand_in::read};
    memory_source codestream(std::vector<uint8_t>{0xFF, 0x4F, 0xFF, 0x51});
    j2k_stand_in::accept = true;
    road_result road = read_jpeg2000_road(codestream.get(), module);
    ASSERT_NE(road.buffer, nullptr);
    EXPECT_EQ(j2k_stand_in::first_bytes, (std::vector<uint8_t>{0xFF, 0x4F}));
    EXPECT_EQ(road.width, 2u);
    is_global_free(road.buffer);

    memory_source other(std::vector<uint8_t>{0x00, 0x4F});
    road = read_jpeg2000_road(other.get(), module);
    EXPECT_EQ(road.buffer, nullptr);
    EXPECT_EQ(road.error, IS_ERR_READ);

    j2k_stand_in::accept = false;
    j2k_stand_in::first_bytes.clear();
    road = read_jpeg2000_road(codestream.get(), module);
    EXPECT_EQ(road.buffer, nullptr);
    EXPECT_EQ(road.error, IS_ERR_BAD_ARGUMENT);
    EXPECT_TRUE(j2k_stand_in::first_bytes.empty());  // no read without a table
}

TEST(MetafileRoad, LongerSideBecomesAThousandPixels)
{
    int32_t width = 0, height = 0;
    metafile_render_size(200, 100, &width, &height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 500);
    metafile_render_size(4000, 3000, &width, &height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 750);
    metafile_render_size(300, 700, &width, &height);
    EXPECT_EQ(width, 428);  // 300 x 1000/700 = 428.57, truncated
    EXPECT_EQ(height, 1000);
    metafile_render_size(1, 5000, &width, &height);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1000);
}

// A renderer whose pictures have a natural size of 200 x 100.
struct renderer_stand_in {
    struct call {
        int32_t width, height;
        uint32_t background, flags;
    };
    static inline std::vector<call> calls;
    static inline std::string path;

    static uint8_t* render(const char* file, uint32_t* width, uint32_t* height, int32_t wanted_width,
                           int32_t wanted_height, uint32_t background, uint32_t flags)
    {
        path = file;
        calls.push_back({wanted_width, wanted_height, background, flags});
        *width = flags ? (uint32_t)wanted_width : 200;
        *height = flags ? (uint32_t)wanted_height : 100;
        return static_cast<uint8_t*>(is_global_alloc(3ull * *width * *height));
    }
};

TEST(MetafileRoad, RendersTwiceThroughTheInstalledRenderer)
{
    const uint8_t wmf[] = {0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0, 0, 0, 0, 0, 0};
    temp_file file("drawing.wmf", std::vector<uint8_t>(wmf, wmf + sizeof wmf));

    load_failure failure;
    EXPECT_EQ(load_picture(file.path(), true, &failure), nullptr);
    EXPECT_EQ(failure.code, IS_ERR_NO_READER);
    EXPECT_STREQ(failure.reason, "metafiles are read only by the Windows program");

    kit_init();
    renderer_stand_in::calls.clear();
    set_metafile_renderer(renderer_stand_in::render);
    raster_image* image = load_picture(file.path(), true, &failure);
    set_metafile_renderer(nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 1000);
    EXPECT_EQ(image->height, 500);
    image_free(image);
    EXPECT_EQ(renderer_stand_in::path, file.path());
    ASSERT_EQ(renderer_stand_in::calls.size(), 2u);
    EXPECT_EQ(renderer_stand_in::calls[0].width, 1000);
    EXPECT_EQ(renderer_stand_in::calls[0].height, 1000);
    EXPECT_EQ(renderer_stand_in::calls[0].background, 0xFFFFFFu);
    EXPECT_EQ(renderer_stand_in::calls[0].flags, 0u);
    EXPECT_EQ(renderer_stand_in::calls[1].width, 1000);
    EXPECT_EQ(renderer_stand_in::calls[1].height, 500);
    EXPECT_EQ(renderer_stand_in::calls[1].background, 0xFFFFFFu);
    EXPECT_EQ(renderer_stand_in::calls[1].flags, 1u);
}

}  // namespace
