#include "poster/poster_document.h"

#include <gtest/gtest.h>

namespace {

// Counts what the document tells the windows.
struct recording_host : poster_document_host {
    int repaints = 0;
    int shown_mask = 0;
    std::optional<std::string> paper = "A4";
    std::optional<std::string> current_paper_name() override { return paper; }
    void poster_size_changed(int mask) override { shown_mask |= mask; }
    void layout_changed() override { ++repaints; }
};

owned_image picture(int32_t type, int32_t width, int32_t height)
{
    owned_image image(image_create(type, width, height));
    image_fill(image.get(), 0xFF808080);
    return image;
}

// A metric document on the A4 fallback tile (18500 x 27200) with a 600 x 440
// preview and a 3000 x 2000 picture: the 64 cm width is kept, so the poster
// is 64000 x 42667 on 4 x 2 pages.
struct DocumentTest : testing::Test {
    recording_host host;
    poster_document doc{&host};
    void SetUp() override
    {
        kit_init();
        doc.init_defaults(true, {500, 500, 2000, 2000});
        doc.set_a4_page();
        doc.set_preview_client({600, 440});
        doc.install_picture(picture(PIXEL_GRAY8, 3000, 2000));
    }
    void TearDown() override { kit_shutdown(); }
};

TEST_F(DocumentTest, InstallKeepsTheLongerSidesEntryAndLaysOut)
{
    ASSERT_NE(doc.g_image(), nullptr);
    EXPECT_EQ(doc.g_image()->type, PIXEL_BGR24);
    EXPECT_EQ(doc.g_image_crop(), (int_rect{0, 0, 3000, 2000}));
    EXPECT_EQ(doc.g_poster(), (smm_size{64000, 42667}));
    EXPECT_EQ(doc.entry(POSTER_HEIGHT), 42.67);
    EXPECT_EQ(doc.npages(), (int_size{4, 2}));
    EXPECT_EQ(all_papers(doc.pages()), 8);
    // Width fit 145 x 213 is too tall for 400; 136 x 200 cells.
    EXPECT_EQ(doc.preview().cell, (int_size{136, 200}));
    EXPECT_EQ(doc.preview().picture_rect, (int_rect{65, 53, 535, 367}));
    ASSERT_NE(doc.preview_image(), nullptr);
    EXPECT_EQ(doc.preview_image()->width, 470);
    EXPECT_EQ(doc.paper_name(), "A4");
    EXPECT_GT(host.repaints, 0);

    // A taller picture keeps the height entry.
    doc.install_picture(picture(PIXEL_BGR24, 1000, 2000));
    EXPECT_EQ(doc.g_poster(), (smm_size{21335, 42670}));
    // A printer whose papers cannot be listed keeps the old name.
    host.paper.reset();
    doc.recompute_layout();
    EXPECT_EQ(doc.paper_name(), "A4");
}

TEST_F(DocumentTest, TypedSideWithTheOtherFollowing)
{
    host.shown_mask = 0;
    EXPECT_TRUE(doc.type_poster_side(POSTER_WIDTH, 90.0));
    EXPECT_EQ(doc.g_poster(), (smm_size{90000, 60000}));
    EXPECT_EQ(host.shown_mask, POSTER_HEIGHT);  // the typed entry is never rewritten
    EXPECT_EQ(doc.npages(), (int_size{5, 3}));

    doc.set_metric(false);
    EXPECT_EQ(doc.entry(POSTER_WIDTH), 35.43);
    EXPECT_TRUE(doc.type_poster_side(POSTER_HEIGHT, 10.0));
    EXPECT_EQ(doc.g_poster(), (smm_size{38100, 25400}));

    // No number, a side of 1 smm or less, or one that needs too many pages:
    // nothing changes.
    const smm_size before = doc.g_poster();
    EXPECT_FALSE(doc.type_poster_side(POSTER_WIDTH, std::nullopt));
    EXPECT_FALSE(doc.type_poster_side(POSTER_WIDTH, 0.0001));
    EXPECT_FALSE(doc.type_poster_side(POSTER_WIDTH, 3000.0));
    EXPECT_EQ(doc.g_poster(), before);
    // Installing runs Uncrop first, which shows the poster in both entries
    // again: the width stays and the height follows the new picture.
    doc.install_picture(picture(PIXEL_BGR24, 400, 300));
    EXPECT_EQ(doc.g_poster(), (smm_size{38100, 28575}));
}

TEST_F(DocumentTest, CropBandsNarrowAndUncropRestoresTheFirstPoster)
{
    doc.toggle_crop_mode();
    EXPECT_EQ(doc.crop_mode(), 1);
    // Picture rectangle (65, 53)-(535, 367): 470 x 314 pixels for 3000 x 2000.
    EXPECT_TRUE(doc.apply_crop_band({165, 103, 365, 303}));
    EXPECT_EQ(doc.crop_mode(), 0);
    EXPECT_EQ(doc.g_image_crop(), (int_rect{638, 318, 1914, 1592}));
    EXPECT_EQ(doc.g_poster(), (smm_size{64000, 63900}));  // 1276 x 1274: the width stays

    doc.type_poster_side(POSTER_WIDTH, 50.0);
    doc.toggle_crop_mode();
    const int_rect q = doc.preview().picture_rect;
    EXPECT_TRUE(doc.apply_crop_band({q.left, q.top, (q.left + q.right) / 2, q.bottom}));
    EXPECT_LT(doc.crop_size().width, 1276);

    // A band without area, and Crop pressed twice, change nothing.
    const int_rect crop = doc.g_image_crop();
    doc.toggle_crop_mode();
    EXPECT_FALSE(doc.apply_crop_band({100, 100, 100, 200}));
    EXPECT_EQ(doc.crop_mode(), 0);
    doc.toggle_crop_mode();
    doc.toggle_crop_mode();
    EXPECT_EQ(doc.g_image_crop(), crop);

    doc.reset_crop();
    EXPECT_EQ(doc.g_image_crop(), (int_rect{0, 0, 3000, 2000}));
    EXPECT_EQ(doc.g_poster(), (smm_size{64000, 42667}));
    EXPECT_EQ(doc.saved_poster().width, 0);
}

TEST_F(DocumentTest, BandWhosePosterCannotFollowIsRefused)
{
    // The width entry holds a refused 200 m; a wide band would take it.
    EXPECT_FALSE(doc.type_poster_side(POSTER_WIDTH, 20000.0));
    const smm_size poster = doc.g_poster();
    doc.toggle_crop_mode();
    const int_rect q = doc.preview().picture_rect;
    EXPECT_FALSE(doc.apply_crop_band({q.left, q.top, q.right, (q.top + q.bottom) / 2}));
    EXPECT_EQ(doc.crop_mode(), 0);
    EXPECT_EQ(doc.g_image_crop(), (int_rect{0, 0, 3000, 2000}));
    EXPECT_EQ(doc.g_poster(), poster);
}

TEST_F(DocumentTest, PageTogglesSurviveWhileTheGridHolds)
{
    EXPECT_TRUE(doc.toggle_page(1, 0));
    EXPECT_EQ(all_papers(doc.pages()), 7);
    EXPECT_FALSE(doc.toggle_page(4, 0));
    EXPECT_FALSE(doc.toggle_page(-1, 0));
    doc.type_poster_side(POSTER_WIDTH, 65.0);  // still 4 x 2
    EXPECT_EQ(page_flag(doc.pages(), 1, 0), 0);
    EXPECT_TRUE(doc.toggle_page(1, 0));
    EXPECT_TRUE(doc.toggle_page(1, 0));
    doc.type_poster_side(POSTER_WIDTH, 90.0);  // 5 x 3: all on again
    EXPECT_EQ(all_papers(doc.pages()), 15);
}

TEST_F(DocumentTest, PageSetupWithoutATileIsRefused)
{
    const smm_size page = doc.g_page();
    EXPECT_FALSE(doc.set_page_setup({10000, 10000, 11000, 10000}, {0, 27200}));
    EXPECT_FALSE(doc.set_page_setup({0, 0, 0, 0}, {1, 1}));  // over the page bound
    EXPECT_EQ(doc.g_page(), page);
    EXPECT_EQ(doc.g_paper_margin(), (smm_rect{500, 500, 2000, 2000}));
    EXPECT_TRUE(doc.set_page_setup({1000, 1000, 1000, 1000}, {19000, 27700}));
    EXPECT_EQ(doc.npages(), (int_size{4, 2}));
}

TEST(CropFromBand, RefusesBandsAndPicturesWithoutArea)
{
    int_rect out{};
    EXPECT_TRUE(crop_from_band({10, 10, 20, 30}, {10, 10, 110, 60}, {100, 0, 300, 100}, &out));
    EXPECT_EQ(out, (int_rect{100, 0, 120, 40}));
    EXPECT_FALSE(crop_from_band({10, 10, 10, 30}, {10, 10, 110, 60}, {0, 0, 200, 100}, &out));
    EXPECT_FALSE(crop_from_band({10, 10, 20, 30}, {10, 10, 10, 60}, {0, 0, 200, 100}, &out));
}

}  // namespace
