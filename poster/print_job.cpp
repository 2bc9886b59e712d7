// The print job's page order, page rectangles, corner marks and sheet picture
// geometry.
#include "poster/print_job.h"

#include <algorithm>

#include "poster/sheet_grid.h"

bool next_grid_position(grid_position& position, int_size npages, bool portrait)
{
    if (npages.width <= 0 || npages.height <= 0)
        return false;
    grid_position next = position;
    // The fast axis runs down a column in portrait and across a row in
    // landscape; at its end the slow axis moves on by one.
    int32_t& fast = portrait ? next.row : next.column;
    int32_t& slow = portrait ? next.column : next.row;
    const int32_t fast_count = portrait ? npages.height : npages.width;
    const int32_t slow_count = portrait ? npages.width : npages.height;
    if (++fast >= fast_count) {
        fast = 0;
        if (++slow >= slow_count)
            return false;
    }
    position = next;
    return true;
}

bool page_rects_for(smm_size poster, const print_area& area, const int_rect& crop, int32_t column, int32_t row,
                    page_rects* out)
{
    sheet_frame frame;
    frame.poster = poster;
    frame.area = area;
    return sheet_rects_for(frame, crop, column, row, out);
}

bool sheet_rects_for(const sheet_frame& frame, const int_rect& crop, int32_t column, int32_t row, page_rects* out)
{
    const int_rect& pr = frame.area.print_rect;
    const int_size page_du = {pr.right - pr.left, pr.bottom - pr.top};
    if (page_du.width <= 0 || page_du.height <= 0)
        return false;
    const int_size img_size = {crop.right - crop.left, crop.bottom - crop.top};
    page_piece_rects piece;
    if (!sheet_piece(frame.poster, frame.area.print_size, frame.overlap, page_du, img_size, column, row, &piece))
        return false;
    page_rects rects;
    device_placement placement;
    if (frame.seamless &&
        place_poster_on_device(frame.poster, sheets_needed(frame.poster, frame.area.print_size, frame.overlap),
                               page_du, frame.overlap, frame.dpi_x, frame.dpi_y, &placement)) {
        seamless_part(placement, page_du, column, row, &piece.page_rect, &rects.part_at);
        rects.poster_du = placement.poster_du;
    }
    const int_rect& i = piece.image_rect;
    const int_rect& p = piece.page_rect;
    rects.page_du = page_du;
    rects.image_rect = i;
    rects.page_rect = p;
    rects.picture_rect = {i.left + crop.left, i.top + crop.top, i.right + crop.left, i.bottom + crop.top};
    rects.device_rect = {p.left + pr.left, p.top + pr.top, p.right + pr.left, p.bottom + pr.top};
    *out = rects;
    return true;
}

std::array<line_segment, 8> corner_marks(const int_rect& device_rect, int32_t dpi_x, int32_t dpi_y)
{
    const int32_t mark_x = static_cast<int32_t>(static_cast<int64_t>(dpi_x) * corner_mark_smm / smm_per_inch);
    const int32_t mark_y = static_cast<int32_t>(static_cast<int64_t>(dpi_y) * corner_mark_smm / smm_per_inch);
    const int32_t l = device_rect.left;
    const int32_t t = device_rect.top;
    const int32_t r = device_rect.right - 1;  // the last column and row of the part
    const int32_t b = device_rect.bottom - 1;
    return {{
        {{l, t}, {l, t + mark_y}},
        {{l, t}, {l + mark_x, t}},
        {{l, b}, {l, b - mark_y}},
        {{l, b}, {l + mark_x, b}},
        {{r, b}, {r, b - mark_y}},
        {{r, b}, {r - mark_x, b}},
        {{r, t}, {r, t + mark_y}},
        {{r, t}, {r - mark_x, t}},
    }};
}

int_rect paper_drawing_rect(const int_rect& frame, smm_size paper)
{
    const int32_t fw = frame.right - frame.left;
    const int32_t fh = frame.bottom - frame.top;
    int32_t w = 0;
    int32_t h = 0;
    if (paper.width > 0 && paper.height > 0) {
        const double scale = std::max(0.0, std::min(static_cast<double>(fw - 10) / paper.width,
                                                    static_cast<double>(fh - 10) / paper.height));
        w = static_cast<int32_t>(paper.width * scale);
        h = static_cast<int32_t>(paper.height * scale);
    }
    const int32_t left = frame.left + (fw - w) / 2 - 10;
    const int32_t top = frame.top + (fh - h) / 2 - 10;
    return {left, top, left + w, top + h};
}

bool sheet_picture_rect(const int_rect& page_rect, int32_t dpi_x, int32_t dpi_y, const smm_rect& page_margin,
                        smm_size paper, const int_rect& drawing, int_rect* out)
{
    if (dpi_x <= 0 || dpi_y <= 0 || paper.width <= 0 || paper.height <= 0)
        return false;
    // Device pixels to smm from the paper edge, then smm into the drawing.
    // The products are taken in 64 bits; they agree with 32-bit arithmetic
    // wherever that does not overflow.
    auto x = [&](int32_t px) {
        const int64_t smm = mul_div64(px, smm_per_inch, dpi_x) + static_cast<int64_t>(page_margin.left);
        return static_cast<int32_t>(smm * (drawing.right - drawing.left) / paper.width + drawing.left);
    };
    auto y = [&](int32_t px) {
        const int64_t smm = mul_div64(px, smm_per_inch, dpi_y) + static_cast<int64_t>(page_margin.top);
        return static_cast<int32_t>(smm * (drawing.bottom - drawing.top) / paper.height + drawing.top);
    };
    *out = {x(page_rect.left), y(page_rect.top), x(page_rect.right), y(page_rect.bottom)};
    return true;
}

bool piece_view(const raster_image* picture, const int_rect& rect, raster_image* out)
{
    if (!picture || picture->width <= 0 || picture->height <= 0)
        return false;
    if (rect.left < 0 || rect.top < 0 || rect.right > picture->width || rect.bottom > picture->height ||
        rect.left > rect.right || rect.top > rect.bottom)
        return false;
    const int32_t left = std::min(rect.left, picture->width - 1);
    const int32_t top = std::min(rect.top, picture->height - 1);
    const int32_t width = std::max(rect.right - rect.left, 1);
    const int32_t height = std::max(rect.bottom - rect.top, 1);
    image_view(out, top, left, picture, width, height);
    return true;
}
