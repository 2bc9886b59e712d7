// Seamless sheets, glue bands, sheet names and labels, the assembly sheet's
// map and the resolution meter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "poster/assembly_sheet.h"
#include "poster/poster_document.h"
#include "poster/preview_pages.h"
#include "poster/poster_craft.h"
#include "poster/print_job.h"
#include "poster/print_piece.h"
#include "poster/sheet_grid.h"
#include "poster/sheet_marks.h"
#include "raster/owned_image.h"
#include "raster/resize.h"

namespace {

owned_image random_picture(std::mt19937& random, int32_t width, int32_t height)
{
    owned_image picture(image_create(PIXEL_BGR24, width, height));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width * 3; ++x)
            picture->pixels[y * picture->stride + x] = static_cast<uint8_t>(random());
    return picture;
}

// The stitched poster: every row a part sends lands at its place in the
// poster's device extent; a pixel sent twice (a glue band) must agree.
struct stitched {
    raster_image* canvas;
    int_point part_origin;  // the part's device_rect corner minus its part_at
    int64_t conflicts = 0;
    std::vector<uint8_t> written;
};

bool stitch_row(void* user, int32_t x, int32_t y, const uint8_t* pixels, int32_t width)
{
    auto* s = static_cast<stitched*>(user);
    const int32_t cy = y - s->part_origin.y;
    for (int32_t i = 0; i < width; ++i) {
        const int32_t cx = x + i - s->part_origin.x;
        uint8_t* p = s->canvas->pixels + cy * s->canvas->stride + cx * 3;
        uint8_t& seen = s->written[static_cast<size_t>(cy) * s->canvas->width + cx];
        if (seen && std::memcmp(p, pixels + i * 3, 3) != 0)
            ++s->conflicts;
        std::memcpy(p, pixels + i * 3, 3);
        seen = 1;
    }
    return true;
}

TEST(SeamlessSheets, PartsLaidSideBySideEqualOneResampleOfTheCrop)
{
    kit_init();
    std::mt19937 random(13);
    for (int round = 0; round < 40; ++round) {
        const int32_t w = 2 + random() % 40;
        const int32_t h = 2 + random() % 40;
        owned_image picture = random_picture(random, w, h);
        const int32_t cl = random() % (w / 2 + 1), ct = random() % (h / 2 + 1);
        const int_rect crop = {cl, ct, cl + 1 + static_cast<int32_t>(random() % (w - cl)),
                               ct + 1 + static_cast<int32_t>(random() % (h - ct))};
        // A small paper at a low resolution, measured as a printer measures it.
        const int32_t dpi = 40 + random() % 80;
        const int32_t paper_w = 6000 + random() % 9000, paper_h = 6000 + random() % 9000;
        const device_caps caps = {dpi, dpi, paper_w * dpi / 2540, paper_h * dpi / 2540, paper_w * dpi / 2540,
                                  paper_h * dpi / 2540, 0, 0};
        const smm_rect margins = {static_cast<int32_t>(random() % 800), static_cast<int32_t>(random() % 800),
                                  static_cast<int32_t>(random() % 1500), static_cast<int32_t>(random() % 1500)};
        const std::optional<print_area> area = measure_print_area(caps, false, &margins);
        ASSERT_TRUE(area);
        sheet_frame frame;
        frame.area = *area;
        frame.poster = {static_cast<int32_t>(3000 + random() % 30000), static_cast<int32_t>(3000 + random() % 30000)};
        frame.overlap = round % 2 ? static_cast<int32_t>(random() % 1500) : 0;
        frame.seamless = true;
        frame.dpi_x = frame.dpi_y = dpi;
        const int_size n = sheets_needed(frame.poster, area->print_size, frame.overlap);

        owned_image canvas;
        stitched target{};
        std::vector<int64_t> widths(n.width), heights(n.height);
        for (int32_t row = 0; row < n.height; ++row) {
            for (int32_t column = 0; column < n.width; ++column) {
                page_rects rects;
                ASSERT_TRUE(sheet_rects_for(frame, crop, column, row, &rects));
                if (!canvas) {
                    canvas.reset(image_create(PIXEL_BGR24, rects.poster_du.width, rects.poster_du.height));
                    target.canvas = canvas.get();
                    target.written.assign(static_cast<size_t>(canvas->width) * canvas->height, 0);
                }
                const int_rect& d = rects.device_rect;
                widths[column] = d.right - d.left;
                heights[row] = d.bottom - d.top;
                target.part_origin = {d.left - rects.part_at.x, d.top - rects.part_at.y};
                piece_row_sink sink;
                sink.send_row = stitch_row;
                sink.user = &target;
                ASSERT_TRUE(print_page_part(picture.get(), crop, rects, nullptr, sink, nullptr));
            }
        }
        // The poster measured at the device's resolution, its parts covering
        // it completely; bands repeat their neighbour's pixels exactly.
        EXPECT_EQ(canvas->width, std::min(win_mul_div(frame.poster.width, dpi, 2540),
                                          static_cast<int32_t>(sheet_row_length(n.width, area->print_rect.right -
                                                                                             area->print_rect.left,
                                                                                win_mul_div(frame.overlap, dpi, 2540)))));
        EXPECT_EQ(target.conflicts, 0);
        EXPECT_EQ(std::count(target.written.begin(), target.written.end(), 0), 0);
        if (frame.overlap == 0) {
            EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), int64_t{0}), canvas->width);
            EXPECT_EQ(std::accumulate(heights.begin(), heights.end(), int64_t{0}), canvas->height);
        }
        raster_image crop_view;
        image_view(&crop_view, crop.top, crop.left, picture.get(), crop.right - crop.left, crop.bottom - crop.top);
        owned_image whole(image_create(PIXEL_BGR24, canvas->width, canvas->height));
        ASSERT_TRUE(image_resize(nullptr, &crop_view, whole.get(), RESIZE_LANCZOS3));
        for (int32_t y = 0; y < canvas->height; ++y)
            ASSERT_EQ(std::memcmp(canvas->pixels + y * canvas->stride, whole->pixels + y * whole->stride,
                                  static_cast<size_t>(canvas->width) * 3),
                      0)
                << "round " << round << " row " << y;
    }
}

TEST(SeamlessSheets, APosterOfFortyCentimetresOnA5At100DpiIsThatWideInDevicePixels)
{
    // 97 x 61 pixels, 40 cm wide, on A5 at 100 dpi with 5, 5, 20, 20 mm
    // margins: the plain pieces add up to 1579 device pixels; seamless parts
    // to the poster's 1575, one scale for all.
    const device_caps caps = {100, 100, 582, 826, 582, 826, 0, 0};
    const smm_rect margins = {500, 500, 2000, 2000};
    sheet_frame frame;
    frame.area = *measure_print_area(caps, false, &margins);
    frame.poster = {40000, 25155};
    frame.seamless = true;
    frame.dpi_x = frame.dpi_y = 100;
    int32_t seamless = 0, plain = 0;
    for (int32_t column = 0; column < 4; ++column) {
        page_rects rects;
        ASSERT_TRUE(sheet_rects_for(frame, {0, 0, 97, 61}, column, 0, &rects));
        seamless += rects.page_rect.right - rects.page_rect.left;
        ASSERT_TRUE(page_rects_for(frame.poster, frame.area, {0, 0, 97, 61}, column, 0, &rects));
        plain += rects.page_rect.right - rects.page_rect.left;
    }
    EXPECT_EQ(plain, 1579);
    EXPECT_EQ(seamless, 1575);
}

TEST(GlueBand, TheGridGrowsSoThePosterKeepsItsSize)
{
    const smm_size page = {18500, 27200};
    EXPECT_EQ(sheets_needed({55500, 27200}, page, 0), (int_size{3, 1}));
    // Three tiles less two bands of 10 mm hold 535 mm.
    EXPECT_EQ(sheets_needed({53500, 27200}, page, 1000), (int_size{3, 1}));
    EXPECT_EQ(sheets_needed({53501, 27201}, page, 1000), (int_size{4, 2}));
    EXPECT_EQ(sheets_needed({100, 100}, page, 1000), (int_size{1, 1}));
    EXPECT_EQ(check_sheet_grid({53500, 27200}, page, 3001), layout_refusal::band_too_wide);
    EXPECT_EQ(check_sheet_grid({53500, 27200}, {3000, 3000}, 3000), layout_refusal::band_too_wide);
    // Neighbouring pieces share the band: sheet 1 starts 10 mm of picture
    // before sheet 0 ends.
    page_piece_rects first, second;
    ASSERT_TRUE(sheet_piece({53500, 27200}, page, 1000, {4370, 6425}, {5350, 2720}, 0, 0, &first));
    ASSERT_TRUE(sheet_piece({53500, 27200}, page, 1000, {4370, 6425}, {5350, 2720}, 1, 0, &second));
    EXPECT_EQ(first.image_rect.right - second.image_rect.left, 100);
    EXPECT_EQ(first.page_rect, (int_rect{0, 0, 4370, 6425}));
}

TEST(SheetNames, RunPastZLikeSpreadsheetColumns)
{
    EXPECT_EQ(sheet_name(0, 0), "A1");
    EXPECT_EQ(sheet_name(1, 2), "B3");
    EXPECT_EQ(sheet_name(25, 9), "Z10");
    EXPECT_EQ(sheet_name(26, 0), "AA1");
    EXPECT_EQ(sheet_name(51, 0), "AZ1");
    EXPECT_EQ(sheet_name(52, 0), "BA1");
    EXPECT_EQ(sheet_name(701, 0), "ZZ1");
    EXPECT_EQ(sheet_name(702, 99), "AAA100");
}

TEST(SheetLabels, NeverLieOverThePictureNorOverEachOtherNorOffThePaper)
{
    kit_init();
    std::mt19937 random(7);
    int placed = 0;
    for (int round = 0; round < 200; ++round) {
        const int32_t dpi = 100 + random() % 500;
        const int_size printable = {static_cast<int32_t>(dpi * 8 + random() % 200),
                                    static_cast<int32_t>(dpi * 11 + random() % 200)};
        const int32_t l = random() % (dpi / 2), t = random() % (dpi / 2);
        const int_rect part = {l, t, printable.width - static_cast<int32_t>(random() % dpi),
                               printable.height - static_cast<int32_t>(random() % dpi)};
        const int_size n = {static_cast<int32_t>(1 + random() % 30), static_cast<int32_t>(1 + random() % 30)};
        const int32_t band = round % 2 ? dpi / 5 : 0;
        const sheet_context sheet = {part, printable, static_cast<int32_t>(random() % n.width),
                                     static_cast<int32_t>(random() % n.height), n, {band, band}, dpi, dpi};
        const std::vector<placed_picture> pictures = sheet_decorations(sheet, true, true);
        std::vector<int_rect> boxes;
        for (const placed_picture& p : pictures) {
            const int_rect box = {p.at.x, p.at.y, p.at.x + p.image->width, p.at.y + p.image->height};
            EXPECT_FALSE(box.left < part.right && part.left < box.right && box.top < part.bottom &&
                         part.top < box.bottom)
                << "over the picture in round " << round;
            EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= printable.width &&
                        box.bottom <= printable.height)
                << "off the printable area in round " << round;
            for (const int_rect& other : boxes)
                EXPECT_FALSE(box.left < other.right && other.left < box.right && box.top < other.bottom &&
                             other.top < box.bottom)
                    << "two overlap in round " << round;
            boxes.push_back(box);
        }
        placed += static_cast<int>(pictures.size());
    }
    EXPECT_GT(placed, 400);
}

TEST(SheetLabels, NameTheSheetAndTheNeighboursOnBandedEdges)
{
    const sheet_context sheet = {{100, 100, 900, 1200}, {1000, 1300}, 1, 2, {3, 4}, {20, 20}, 300, 300};
    std::vector<std::string> texts;
    for (const label_text& label : sheet_label_texts(sheet))
        texts.push_back(label.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"B3", "glue under B2", "glue under A3", "C3 glues under",
                                                "B4 glues under"}));
    sheet_context plain = sheet;
    plain.band_du = {0, 0};
    EXPECT_EQ(sheet_label_texts(plain).size(), 1u);
}

TEST(AssemblySheet, ItsMapIsThePlansGridWithThePosterPlacedAsPrinted)
{
    kit_init();
    std::mt19937 random(3);
    owned_image picture = random_picture(random, 300, 200);
    page_flags flags;
    const smm_size poster = {53000, 35333}, page = {18500, 27200};
    const int32_t overlap = 1000;
    const int_size n = sheets_needed(poster, page, overlap);
    reset_page_flags(flags, n.width, n.height);
    set_page_flag(flags, 1, 0, 0);
    const assembly_input input = {picture.get(), {0, 0, 300, 200}, poster, page, overlap, &flags, true, "A4",
                                  {21000, 29700}, {50, 60, 4410, 6485}, 600, 600};
    const assembly_layout layout = layout_assembly_sheet(input);
    ASSERT_EQ(layout.npages, n);
    ASSERT_EQ(layout.cells.size(), static_cast<size_t>(n.width * n.height));
    EXPECT_EQ(layout.lines[0], "Poster 53.00 cm x 35.33 cm on 6 sheets of A4, 3 across and 2 down");
    // Each sheet's cell cuts the map's picture where the plan cuts the crop.
    const double scale = static_cast<double>(layout.picture.right - layout.picture.left) / 300;
    for (int32_t row = 0; row < n.height; ++row) {
        for (int32_t column = 0; column < n.width; ++column) {
            page_piece_rects piece;
            ASSERT_TRUE(sheet_piece(poster, page, overlap, {4370, 6425}, {300, 200}, column, row, &piece));
            const int_rect& cell = layout.cells[row * n.width + column];
            const double left = (std::max(cell.left, layout.picture.left) - layout.picture.left) / scale;
            const double right = (std::min(cell.right, layout.picture.right) - layout.picture.left) / scale;
            EXPECT_NEAR(left, piece.image_rect.left, 1.5) << column << "," << row;
            EXPECT_NEAR(right, piece.image_rect.right, 1.5) << column << "," << row;
        }
    }
    // Drawn in bands, the skipped sheet greyed and the printed ones not.
    owned_image band(image_create(PIXEL_BGR24, 4360, 50));
    const int_rect& skipped = layout.cells[1];
    const int_rect& printed = layout.cells[0];
    const int32_t y = (layout.picture.top + skipped.bottom) / 2;
    draw_assembly_band(input, layout, y, band.get());
    const uint8_t* grey = band->pixels + (skipped.left + skipped.right) / 2 * 3 - 50 * 3;
    EXPECT_TRUE(grey[0] == grey[1] && grey[1] == grey[2]);
    const uint8_t* colour = band->pixels + (printed.left + layout.picture.left) / 2 * 3 + 300 * 3 - 50 * 3;
    const raster_image* p = picture.get();
    EXPECT_FALSE(colour[0] == colour[1] && colour[1] == colour[2] && p->pixels[0] != p->pixels[1]);
}

TEST(ResolutionMeter, CountsPicturePixelsPerInchOfPosterAndWarnsBelowTheThresholds)
{
    // 3000 pixels over 50.8 cm are exactly 150 per inch.
    std::optional<resolution_report> r = poster_resolution({3000, 2000}, {50800, 33866}, 150, 100);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->ppi_x, 150.0);
    EXPECT_EQ(r->level, resolution_level::good);
    EXPECT_EQ(r->largest, (smm_size{50800, 33866}));
    r = poster_resolution({3000, 2000}, {50801, 33867}, 150, 100);
    EXPECT_EQ(r->level, resolution_level::low);
    r = poster_resolution({3000, 2000}, {76201, 50800}, 150, 100);
    EXPECT_EQ(r->level, resolution_level::very_low);
    EXPECT_NEAR(r->ppi_y, 100.0, 0.01);
    // A taller picture on a squashed poster: the poorer axis counts, and the
    // largest size keeps both axes at the threshold.
    r = poster_resolution({1500, 3000}, {25400, 76201}, 150, 100);
    EXPECT_EQ(r->level, resolution_level::very_low);
    EXPECT_EQ(r->largest, (smm_size{25400, 50800}));
    EXPECT_FALSE(poster_resolution({0, 10}, {100, 100}, 150, 100));
}

TEST(SizeBySheets, GivesTheLargestPosterOnThoseSheets)
{
    const smm_size page = {18500, 27200};
    EXPECT_EQ(poster_for_sheets(3, 0, page, 0, {3000, 2000}), (smm_size{55500, 37000}));
    EXPECT_EQ(poster_for_sheets(3, 0, page, 1000, {3000, 2000}), (smm_size{53500, 35667}));
    // Three across would need three rows of a square picture: one row decides.
    EXPECT_EQ(poster_for_sheets(3, 1, page, 0, {1000, 1000}), (smm_size{27200, 27200}));
    EXPECT_EQ(sheets_needed(*poster_for_sheets(3, 1, page, 0, {1000, 1000}), page, 0), (int_size{2, 1}));
    EXPECT_FALSE(poster_for_sheets(0, 0, page, 0, {1000, 1000}));
}

}  // namespace

namespace {

TEST(GlueBand, ThePreviewStepsByTheTileLessTheBandAndShowsTheBands)
{
    preview_geometry plain, banded;
    ASSERT_TRUE(preview_layout_bands({600, 440}, {40000, 30000}, {18500, 27200}, 0, &plain));
    preview_geometry expected;
    ASSERT_TRUE(preview_layout({600, 440}, {40000, 30000}, {18500, 27200}, &expected));
    EXPECT_EQ(plain.picture_rect, expected.picture_rect);
    EXPECT_TRUE(preview_glue_bands(plain, {3, 2}).empty());

    ASSERT_TRUE(preview_layout_bands({600, 440}, {40000, 30000}, {18500, 27200}, 2000, &banded));
    const int_size n = sheets_needed({40000, 30000}, {18500, 27200}, 2000);
    ASSERT_EQ(n, (int_size{3, 2}));
    EXPECT_LT(banded.step.width, banded.cell.width);
    const int_rect grid = preview_grid_rect(banded, n);
    EXPECT_EQ(grid.right - grid.left, banded.step.width * 2 + banded.cell.width);
    const std::vector<int_rect> bands = preview_glue_bands(banded, n);
    ASSERT_EQ(bands.size(), 3u);
    // A click on the first band belongs to the second column; one past the
    // last step to the last column.
    int32_t column = -1, row = -1;
    ASSERT_TRUE(preview_page_at(banded, n, bands[0].left, bands[0].top + 1, &column, &row));
    EXPECT_EQ(column, 1);
    ASSERT_TRUE(preview_page_at(banded, n, grid.right - 1, grid.top, &column, &row));
    EXPECT_EQ(column, 2);
}

TEST(PosterDocumentCraft, TheBandGrowsTheGridAndSheetsSizeThePoster)
{
    kit_init();
    poster_document doc;
    doc.init_defaults(true, {500, 500, 2000, 2000});
    doc.set_a4_page();
    doc.set_preview_client({600, 440});
    doc.install_picture(owned_image(image_create(PIXEL_BGR24, 3000, 2000)));
    ASSERT_TRUE(doc.type_poster_side(POSTER_WIDTH, 55.5));  // three whole tiles of 18.5 cm
    EXPECT_EQ(doc.npages(), (int_size{3, 2}));
    poster_craft craft = doc.craft();
    craft.overlap = 1000;
    ASSERT_TRUE(doc.set_craft(craft));
    EXPECT_EQ(doc.npages(), (int_size{4, 2}));
    EXPECT_EQ(doc.g_poster().width, 55500);  // the poster keeps its size
    ASSERT_TRUE(doc.size_by_sheets(3, 0));
    EXPECT_EQ(doc.g_poster(), (smm_size{53500, 35667}));
    EXPECT_EQ(doc.npages(), (int_size{3, 2}));
    EXPECT_EQ(doc.entry(POSTER_WIDTH), 53.5);
    craft.overlap = 30000;  // brought into range: 30 mm
    ASSERT_TRUE(doc.set_craft(craft));
    EXPECT_EQ(doc.craft().overlap, max_overlap_smm);
    EXPECT_FALSE(doc.size_by_sheets(0, 0));
}

}  // namespace
