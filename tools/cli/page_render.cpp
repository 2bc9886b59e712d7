// Rendering one sheet as the printer receives it.
#include "tools/cli/page_render.h"

#include "poster/print_piece.h"
#include "raster/owned_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct sheet_target {
    raster_image* sheet;
    int_point origin;
};

// Device rows land on the sheet at the device origin's offset; whatever
// would fall beyond the paper is cut off, as paper cuts off a print.
bool copy_row(void* user, int32_t x, int32_t y, const uint8_t* pixels, int32_t width)
{
    const auto* target = static_cast<const sheet_target*>(user);
    raster_image* sheet = target->sheet;
    const int64_t sheet_y = static_cast<int64_t>(target->origin.y) + y;
    if (sheet_y < 0 || sheet_y >= sheet->height)
        return true;
    int64_t first = static_cast<int64_t>(target->origin.x) + x;
    int64_t skip = first < 0 ? -first : 0;
    const int64_t count = std::min<int64_t>(width, sheet->width - first) - skip;
    if (count <= 0)
        return true;
    first += skip;
    std::memcpy(sheet->pixels + sheet_y * sheet->stride + first * 3, pixels + skip * 3, static_cast<size_t>(count) * 3);
    return true;
}

// Paints the sheet white except for rect (sheet pixels, inside the sheet or
// empty), which the caller fills itself.
void fill_white_around(raster_image* sheet, const int_rect& rect)
{
    const size_t row_bytes = static_cast<size_t>(sheet->width) * 3;
    const bool empty = rect.right <= rect.left || rect.bottom <= rect.top;
    for (int32_t y = 0; y < sheet->height; ++y) {
        uint8_t* row = sheet->pixels + static_cast<size_t>(y) * sheet->stride;
        if (empty || y < rect.top || y >= rect.bottom) {
            std::memset(row, 0xFF, row_bytes);
            continue;
        }
        std::memset(row, 0xFF, static_cast<size_t>(rect.left) * 3);
        std::memset(row + static_cast<size_t>(rect.right) * 3, 0xFF, row_bytes - static_cast<size_t>(rect.right) * 3);
    }
}

}  // namespace

sheet_layout sheet_of(const device_caps& caps)
{
    return {{caps.physical_width, caps.physical_height},
            {caps.physical_offset_x, caps.physical_offset_y},
            caps.dpi_x,
            caps.dpi_y};
}

void draw_dashed_line(raster_image* sheet, int_point from, int_point to)
{
    const int32_t dx = (to.x > from.x) - (to.x < from.x);
    const int32_t dy = (to.y > from.y) - (to.y < from.y);
    const int64_t length = std::max(std::llabs(static_cast<int64_t>(to.x) - from.x),
                                    std::llabs(static_cast<int64_t>(to.y) - from.y));
    for (int64_t k = 0; k < length; ++k) {
        if (k % (mark_dash_length + mark_gap_length) >= mark_dash_length)
            continue;
        const int64_t x = from.x + k * dx;
        const int64_t y = from.y + k * dy;
        if (x < 0 || y < 0 || x >= sheet->width || y >= sheet->height)
            continue;
        uint8_t* p = sheet->pixels + y * sheet->stride + x * 3;
        p[0] = corner_mark_rgb & 0xFF;
        p[1] = (corner_mark_rgb >> 8) & 0xFF;
        p[2] = (corner_mark_rgb >> 16) & 0xFF;
    }
}

void fill_white(raster_image* sheet)
{
    fill_white_around(sheet, {0, 0, 0, 0});
}

void place_on_sheet(raster_image* page, const sheet_layout& sheet, const raster_image* image, int_point at)
{
    sheet_target target = {page, sheet.origin};
    for (int32_t y = 0; y < image->height; ++y)
        copy_row(&target, at.x, at.y + y, image->pixels + static_cast<ptrdiff_t>(y) * image->stride, image->width);
}

bool draw_page(raster_image* page, const raster_image* picture, const int_rect& crop, const page_rects& rects,
               const sheet_layout& sheet, bool marks, const job_log* log, const char** failure)
{
    raster_image view;
    if (!piece_view(picture, rects.picture_rect, &view) || !piece_view(picture, crop, &view)) {
        *failure = "the page's part lies outside the picture";
        return false;
    }
    // The part's place on the paper, when it lies wholly on it.
    const int_rect& d = rects.device_rect;
    const int64_t left = static_cast<int64_t>(d.left) + sheet.origin.x, top = static_cast<int64_t>(d.top) + sheet.origin.y;
    const int64_t right = static_cast<int64_t>(d.right) + sheet.origin.x;
    const int64_t bottom = static_cast<int64_t>(d.bottom) + sheet.origin.y;
    bool drawn;
    if (left >= 0 && top >= 0 && right <= page->width && bottom <= page->height && right > left && bottom > top) {
        const int_rect on_sheet = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                                   static_cast<int32_t>(bottom)};
        // The usual case: the part lies on the paper and is resampled in place.
        fill_white_around(page, on_sheet);
        raster_image part;
        image_view(&part, on_sheet.top, on_sheet.left, page, on_sheet.right - on_sheet.left,
                   on_sheet.bottom - on_sheet.top);
        drawn = resample_page_part(picture, crop, rects, nullptr, &part, log);
    } else {
        fill_white(page);
        sheet_target target = {page, sheet.origin};
        piece_row_sink sink;
        sink.send_row = copy_row;
        sink.user = &target;
        drawn = print_page_part(picture, crop, rects, nullptr, sink, log);
    }
    if (!drawn) {
        *failure = "no memory for the page's part of the picture";
        return false;
    }
    if (marks) {
        const int_point o = sheet.origin;
        for (const line_segment& line : corner_marks(rects.device_rect, sheet.dpi_x, sheet.dpi_y))
            draw_dashed_line(page, {o.x + line.from.x, o.y + line.from.y}, {o.x + line.to.x, o.y + line.to.y});
    }
    return true;
}

raster_image* render_page(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                          const sheet_layout& sheet, bool marks, const job_log* log, const char** failure)
{
    owned_image page(image_create(PIXEL_BGR24, sheet.size.width, sheet.size.height));
    if (!page) {
        *failure = "no memory for the sheet";
        return nullptr;
    }
    if (!draw_page(page.get(), picture, crop, rects, sheet, marks, log, failure))
        return nullptr;
    return page.release();
}
