// Glue bands and the seamless placement of the poster on the sheets.
#include "poster/sheet_grid.h"

#include <algorithm>

namespace {

int32_t sheets_along(int32_t poster, int32_t page, int32_t overlap)
{
    if (poster <= page)
        return 1;
    const int64_t step = static_cast<int64_t>(page) - overlap;
    const int64_t rest = static_cast<int64_t>(poster) - page;
    return static_cast<int32_t>(1 + rest / step + (rest % step > 0 ? 1 : 0));
}

bool positive(int_size size)
{
    return size.width > 0 && size.height > 0;
}

// Where [first, first + length) of the poster falls on sheet k of one axis:
// the part relative to the tile, and its start within the poster.
void axis_part(int64_t origin, int64_t length, int64_t advance, int64_t tile, int32_t k, int32_t* begin,
               int32_t* end, int32_t* at)
{
    const int64_t tile_left = static_cast<int64_t>(k) * advance;
    int64_t left = std::max(origin, tile_left);
    int64_t right = std::min(origin + length, tile_left + tile);
    if (left >= right)
        left = right = std::clamp(origin, tile_left, tile_left + tile);
    *begin = static_cast<int32_t>(left - tile_left);
    *end = static_cast<int32_t>(right - tile_left);
    *at = static_cast<int32_t>(left - origin);
}

}  // namespace

int_size sheets_needed(smm_size poster, smm_size page, int32_t overlap)
{
    if (overlap == 0)
        return pages_needed(poster, page);
    return {sheets_along(poster.width, page.width, overlap), sheets_along(poster.height, page.height, overlap)};
}

layout_refusal check_sheet_grid(smm_size poster, smm_size page, int32_t overlap)
{
    if (!positive(page))
        return layout_refusal::no_tile;
    if (!positive(poster))
        return layout_refusal::no_poster;
    if (overlap < 0 || overlap > max_overlap_smm || overlap >= page.width || overlap >= page.height)
        return layout_refusal::band_too_wide;
    const int_size n = sheets_needed(poster, page, overlap);
    if (static_cast<int64_t>(n.width) * n.height > max_grid_pages)
        return layout_refusal::too_many_pages;
    return layout_refusal::none;
}

layout_refusal check_sheet_layout(smm_size poster, smm_size page, int32_t overlap, int_size crop)
{
    if (!positive(page))
        return layout_refusal::no_tile;
    if (!positive(crop))
        return layout_refusal::no_crop;
    return check_sheet_grid(poster, page, overlap);
}

int64_t sheet_row_length(int32_t count, int32_t page, int32_t overlap)
{
    return static_cast<int64_t>(count) * page - static_cast<int64_t>(count - 1) * overlap;
}

bool sheet_piece(smm_size poster, smm_size page, int32_t overlap, int_size page_du, int_size img_size,
                 int32_t page_x, int32_t page_y, page_piece_rects* out)
{
    if (check_sheet_layout(poster, page, overlap, img_size) != layout_refusal::none)
        return false;
    const int_size n = sheets_needed(poster, page, overlap);
    if (page_x < 0 || page_x >= n.width || page_y < 0 || page_y >= n.height)
        return false;
    // Tile edges of the grid can pass 2^31 smm even when the poster does not,
    // so the rectangles are taken in 64 bits; every difference passed on below
    // lies within the poster or within one tile again.
    const int64_t x0 = (sheet_row_length(n.width, page.width, overlap) - poster.width) / 2;
    const int64_t y0 = (sheet_row_length(n.height, page.height, overlap) - poster.height) / 2;
    const int64_t s_left = static_cast<int64_t>(page_x) * (page.width - overlap);
    const int64_t s_top = static_cast<int64_t>(page_y) * (page.height - overlap);

    int64_t left = std::max(x0, s_left);
    int64_t top = std::max(y0, s_top);
    int64_t right = std::min(x0 + poster.width, s_left + page.width);
    int64_t bottom = std::min(y0 + poster.height, s_top + page.height);
    if (left >= right || top >= bottom)  // cannot happen on the grid; kept as the empty piece
        left = top = right = bottom = 0;

    auto picture_x = [&](int64_t x) { return mul_div64(static_cast<int32_t>(x - x0), img_size.width, poster.width); };
    auto picture_y = [&](int64_t y) { return mul_div64(static_cast<int32_t>(y - y0), img_size.height, poster.height); };
    auto device_x = [&](int64_t x) { return mul_div64(static_cast<int32_t>(x - s_left), page_du.width, page.width); };
    auto device_y = [&](int64_t y) { return mul_div64(static_cast<int32_t>(y - s_top), page_du.height, page.height); };

    out->image_rect = {picture_x(left), picture_y(top), picture_x(right), picture_y(bottom)};
    out->page_rect = {device_x(left), device_y(top), device_x(right), device_y(bottom)};
    return true;
}

bool place_poster_on_device(smm_size poster, int_size npages, int_size page_du, int32_t overlap, int32_t dpi_x,
                            int32_t dpi_y, device_placement* out)
{
    if (dpi_x <= 0 || dpi_y <= 0 || !positive(page_du) || !positive(npages) || !positive(poster))
        return false;
    device_placement placement;
    placement.band_du = {std::clamp(win_mul_div(overlap, dpi_x, smm_per_inch), 0, page_du.width - 1),
                         std::clamp(win_mul_div(overlap, dpi_y, smm_per_inch), 0, page_du.height - 1)};
    placement.advance = {page_du.width - placement.band_du.width, page_du.height - placement.band_du.height};
    const int64_t row_w = sheet_row_length(npages.width, page_du.width, placement.band_du.width);
    const int64_t row_h = sheet_row_length(npages.height, page_du.height, placement.band_du.height);
    // The device tile is never smaller than the tile in smm on a measured
    // printer, so the poster fits its row; a tile given by hand may not.
    const int64_t poster_w = std::clamp<int64_t>(win_mul_div(poster.width, dpi_x, smm_per_inch), 1, row_w);
    const int64_t poster_h = std::clamp<int64_t>(win_mul_div(poster.height, dpi_y, smm_per_inch), 1, row_h);
    if (row_w > INT32_MAX || row_h > INT32_MAX)
        return false;
    placement.poster_du = {static_cast<int32_t>(poster_w), static_cast<int32_t>(poster_h)};
    placement.origin = {static_cast<int32_t>((row_w - poster_w) / 2), static_cast<int32_t>((row_h - poster_h) / 2)};
    *out = placement;
    return true;
}

void seamless_part(const device_placement& placement, int_size page_du, int32_t column, int32_t row,
                   int_rect* page_rect, int_point* part_at)
{
    axis_part(placement.origin.x, placement.poster_du.width, placement.advance.width, page_du.width, column,
              &page_rect->left, &page_rect->right, &part_at->x);
    axis_part(placement.origin.y, placement.poster_du.height, placement.advance.height, page_du.height, row,
              &page_rect->top, &page_rect->bottom, &part_at->y);
}
