// Rendering one sheet as the printer receives it.
#include "tools/cli/page_render.h"

#include "poster/print_piece.h"

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

raster_image* blank_sheet(const sheet_layout& sheet)
{
    raster_image* page = image_create(PIXEL_BGR24, sheet.size.width, sheet.size.height);
    if (page)
        image_fill(page, 0xFFFFFF);
    return page;
}

void place_on_sheet(raster_image* page, const sheet_layout& sheet, const raster_image* image, int_point at)
{
    sheet_target target = {page, sheet.origin};
    for (int32_t y = 0; y < image->height; ++y)
        copy_row(&target, at.x, at.y + y, image->pixels + static_cast<ptrdiff_t>(y) * image->stride, image->width);
}

raster_image* render_page(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                          const sheet_layout& sheet, bool marks, const job_log* log, const char** failure)
{
    raster_image view;
    if (!piece_view(picture, rects.picture_rect, &view) || !piece_view(picture, crop, &view)) {
        *failure = "the page's part lies outside the picture";
        return nullptr;
    }
    raster_image* page = blank_sheet(sheet);
    if (!page) {
        *failure = "no memory for the sheet";
        return nullptr;
    }
    sheet_target target = {page, sheet.origin};
    piece_row_sink sink;
    sink.send_row = copy_row;
    sink.user = &target;
    if (!print_page_part(picture, crop, rects, nullptr, sink, log)) {
        image_free(page);
        *failure = "no memory for the page's part of the picture";
        return nullptr;
    }
    if (marks) {
        const int_point o = sheet.origin;
        for (const line_segment& line : corner_marks(rects.device_rect, sheet.dpi_x, sheet.dpi_y))
            draw_dashed_line(page, {o.x + line.from.x, o.y + line.from.y}, {o.x + line.to.x, o.y + line.to.y});
    }
    return page;
}
