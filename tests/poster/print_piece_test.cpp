#include "poster/print_piece.h"
#include "raster/kit_test_hooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

int live_blocks()
{
    int count = 0;
    for (int i = 0; i < kit_alloc_table_size; ++i)
        count += kit_alloc_table()[i].address != nullptr;
    return count;
}

// A 40 x 30 picture with a gradient, so that every row of a piece differs.
raster_image* make_picture()
{
    kit_init();
    raster_image* picture = image_create(PIXEL_BGR24, 40, 30);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            uint8_t* p = picture->pixels + y * picture->stride + x * 3;
            p[0] = (uint8_t)(x * 6);
            p[1] = (uint8_t)(y * 8);
            p[2] = 0x40;
        }
    return picture;
}

struct row_record {
    int32_t x;
    int32_t y;
    std::vector<uint8_t> pixels;
};

struct collector {
    std::vector<row_record> rows;
    std::vector<double> fractions;
    int stop_before_row = -1;  // before_row answers false at this row
    int refuse_row = -1;       // send_row answers false at this row
    std::string log;
    int memory_reports = 0;
};

piece_row_sink sink_of(collector& c)
{
    piece_row_sink sink;
    sink.user = &c;
    sink.before_row = [](void* user, double fraction) {
        auto* c = static_cast<collector*>(user);
        c->fractions.push_back(fraction);
        return (int)c->fractions.size() - 1 != c->stop_before_row;
    };
    sink.send_row = [](void* user, int32_t x, int32_t y, const uint8_t* pixels, int32_t width) {
        auto* c = static_cast<collector*>(user);
        if ((int)c->rows.size() == c->refuse_row)
            return false;
        c->rows.push_back({x, y, std::vector<uint8_t>(pixels, pixels + (size_t)width * 3)});
        return true;
    };
    return sink;
}

job_log log_of(collector& c)
{
    job_log log;
    log.user = &c;
    log.write = [](void* user, const char* text) { static_cast<collector*>(user)->log += text; };
    log.memory_report = [](void* user) { static_cast<collector*>(user)->memory_reports += 1; };
    return log;
}

class PrintPiece : public ::testing::Test {
protected:
    void SetUp() override
    {
        picture = make_picture();
        saved_hook = kit_replace_alloc_hook(nullptr);
        kit_replace_alloc_hook(saved_hook);
        ASSERT_TRUE(piece_view(picture, {10, 5, 30, 25}, &view));
        blocks_before = live_blocks();
    }
    void TearDown() override
    {
        kit_replace_alloc_hook(saved_hook);
        EXPECT_EQ(live_blocks(), blocks_before) << "a block was leaked";
        image_free(picture);
    }

    raster_image* picture = nullptr;
    raster_image view{};
    const int_rect device = {100, 200, 180, 260};  // 80 x 60
    int blocks_before = 0;
    kit_alloc_hook saved_hook = nullptr;
    collector c;
};

TEST_F(PrintPiece, SendsEveryRowOfTheDeviceRectangleResampledWithThePrintFilter)
{
    const job_log log = log_of(c);
    ASSERT_TRUE(print_piece(&view, device, nullptr, sink_of(c), &log));

    raster_image* expected = image_create(PIXEL_BGR24, 80, 60);
    ASSERT_TRUE(image_resize(nullptr, &view, expected, RESIZE_LANCZOS3));
    ASSERT_EQ(c.rows.size(), 60u);
    for (int32_t y = 0; y < 60; ++y) {
        EXPECT_EQ(c.rows[y].x, 100);
        EXPECT_EQ(c.rows[y].y, 200 + y);
        ASSERT_EQ(c.rows[y].pixels.size(), 80u * 3);
        EXPECT_EQ(0, std::memcmp(c.rows[y].pixels.data(), expected->pixels + y * expected->stride, 80 * 3))
            << "row " << y;
    }
    image_free(expected);
    EXPECT_EQ(c.fractions.front(), 0.0);
    EXPECT_DOUBLE_EQ(c.fractions.back(), 59.0 / 60.0);
    EXPECT_EQ(c.memory_reports, 1);
    EXPECT_EQ(c.log, "big_img created: 80 x 60\n\nimage_resize time (s): 0\n");
}

TEST_F(PrintPiece, ADeviceRectangleWithoutPixelsSendsNothingAndSucceeds)
{
    EXPECT_TRUE(print_piece(&view, {100, 200, 100, 260}, nullptr, sink_of(c), nullptr));
    EXPECT_TRUE(print_piece(&view, {100, 200, 180, 199}, nullptr, sink_of(c), nullptr));
    EXPECT_TRUE(c.rows.empty());
}

TEST_F(PrintPiece, RefusesAPictureThatIsNot24Bit)
{
    raster_image gray = view;
    gray.type = PIXEL_GRAY8;
    EXPECT_FALSE(print_piece(&gray, device, nullptr, sink_of(c), nullptr));
    EXPECT_TRUE(c.rows.empty());
}

// Allocation failures: the first n allocations succeed, the rest fail.
int g_allocations_left = 0;
kit_alloc_hook g_forward = nullptr;
void* limited_alloc(uint64_t size)
{
    if (g_allocations_left <= 0)
        return nullptr;
    g_allocations_left -= 1;
    return g_forward(size);
}

TEST_F(PrintPiece, NoMemoryForTheImageIsLoggedAndNoSmallerOneTried)
{
    g_forward = saved_hook;
    g_allocations_left = 0;
    kit_replace_alloc_hook(limited_alloc);
    const job_log log = log_of(c);
    EXPECT_FALSE(print_piece(&view, device, nullptr, sink_of(c), &log));
    EXPECT_EQ(c.log, "image_create fail: 80 x 60\n\n");
    EXPECT_TRUE(c.rows.empty());
}

TEST_F(PrintPiece, NoMemoryWhileResamplingFreesTheImage)
{
    // Let one more allocation through each time, until the piece prints.
    g_forward = saved_hook;
    int allowed = 1;
    for (;; ++allowed) {
        ASSERT_LT(allowed, 50);
        g_allocations_left = allowed;
        kit_replace_alloc_hook(limited_alloc);
        const bool printed = print_piece(&view, device, nullptr, sink_of(c), nullptr);
        kit_replace_alloc_hook(saved_hook);
        EXPECT_EQ(live_blocks(), blocks_before) << allowed;
        if (printed)
            break;
        EXPECT_TRUE(c.rows.empty()) << allowed;
    }
    EXPECT_GT(allowed, 1);
    EXPECT_EQ(c.rows.size(), 60u);
}

int g_progress_calls = 0;
bool stop_at_first_report(double, int)
{
    g_progress_calls += 1;
    return false;
}

TEST_F(PrintPiece, CancelWhileResamplingOrSendingStopsAndFreesTheImage)
{
    EXPECT_FALSE(print_piece(&view, device, stop_at_first_report, sink_of(c), nullptr));
    EXPECT_EQ(g_progress_calls, 1);
    EXPECT_TRUE(c.rows.empty());

    c.stop_before_row = 7;
    EXPECT_FALSE(print_piece(&view, device, nullptr, sink_of(c), nullptr));
    EXPECT_EQ(c.rows.size(), 7u);

    collector refusing;
    refusing.refuse_row = 3;
    EXPECT_FALSE(print_piece(&view, device, nullptr, sink_of(refusing), nullptr));
    EXPECT_EQ(refusing.rows.size(), 3u);
}

}  // namespace

// Resampling in place gives exactly the rows print_page_part sends, for a
// part on its own and for a part of the seamless poster, into a view of a
// larger sheet whose pixels around the part stay as they were.
TEST_F(PrintPiece, ResamplesAPagePartInPlaceExactlyAsItIsSent)
{
    page_rects rects;
    rects.picture_rect = {10, 5, 30, 25};
    rects.device_rect = device;
    for (const bool seamless : {false, true}) {
        rects.poster_du = seamless ? int_size{160, 120} : int_size{};
        rects.part_at = seamless ? int_point{80, 60} : int_point{};
        collector sent;
        ASSERT_TRUE(print_page_part(picture, {0, 0, 40, 30}, rects, nullptr, sink_of(sent), nullptr));
        ASSERT_EQ(sent.rows.size(), 60u);

        raster_image* sheet = image_create(PIXEL_BGR24, 90, 70);
        image_fill(sheet, 0x123456);
        raster_image part;
        image_view(&part, 4, 6, sheet, 80, 60);
        ASSERT_TRUE(resample_page_part(picture, {0, 0, 40, 30}, rects, nullptr, &part, nullptr));
        for (int32_t y = 0; y < 60; ++y)
            EXPECT_EQ(0, std::memcmp(sent.rows[y].pixels.data(), part.pixels + y * part.stride, 80 * 3))
                << (seamless ? "seamless" : "own part") << " row " << y;
        EXPECT_EQ(image_get_pixel(sheet, 5, 3) & 0xFFFFFFu, 0x123456u);
        EXPECT_EQ(image_get_pixel(sheet, 66, 86) & 0xFFFFFFu, 0x123456u);

        raster_image wrong;
        image_view(&wrong, 0, 0, sheet, 79, 60);
        EXPECT_FALSE(resample_page_part(picture, {0, 0, 40, 30}, rects, nullptr, &wrong, nullptr));
        image_free(sheet);
    }
}
