// The page grid: how many pages a poster needs, whether a layout is possible,
// and which part of the picture each page carries.
#include "poster/geometry.h"

#include <algorithm>

namespace {

int32_t pages_along(int32_t poster, int32_t page)
{
    return poster / page + (poster % page > 0 ? 1 : 0);
}

bool positive(int_size size)
{
    return size.width > 0 && size.height > 0;
}

}  // namespace

int_size pages_needed(smm_size poster, smm_size page)
{
    return {pages_along(poster.width, page.width), pages_along(poster.height, page.height)};
}

layout_refusal check_grid(smm_size poster, smm_size page)
{
    if (!positive(page))
        return layout_refusal::no_tile;
    if (!positive(poster))
        return layout_refusal::no_poster;
    int_size n = pages_needed(poster, page);
    if (static_cast<int64_t>(n.width) * n.height > max_grid_pages)
        return layout_refusal::too_many_pages;
    return layout_refusal::none;
}

layout_refusal check_layout(smm_size poster, smm_size page, int_size crop)
{
    if (!positive(page))
        return layout_refusal::no_tile;
    if (!positive(crop))
        return layout_refusal::no_crop;
    return check_grid(poster, page);
}

const char* layout_refusal_text(layout_refusal refusal)
{
    switch (refusal) {
    case layout_refusal::none:
        return "the layout is possible";
    case layout_refusal::no_tile:
        return "the printable tile has no area";
    case layout_refusal::no_crop:
        return "the picture's crop has no pixels";
    case layout_refusal::no_poster:
        return "the poster has no area";
    case layout_refusal::too_many_pages:
        return "the poster needs more than 10000 pages";
    }
    return "unknown refusal";
}

bool page_piece(smm_size poster, smm_size page, int_size page_du, int_size img_size,
                int32_t page_x, int32_t page_y, page_piece_rects* out)
{
    if (check_layout(poster, page, img_size) != layout_refusal::none)
        return false;
    int_size n = pages_needed(poster, page);
    if (page_x < 0 || page_x >= n.width || page_y < 0 || page_y >= n.height)
        return false;
    // Tile edges of the grid can pass 2^31 smm even when the poster does not,
    // so the rectangles are taken in 64 bits; every difference passed on below
    // lies within the poster or within one tile again.
    int64_t x0 = (static_cast<int64_t>(page.width) * n.width - poster.width) / 2;
    int64_t y0 = (static_cast<int64_t>(page.height) * n.height - poster.height) / 2;
    int64_t s_left = static_cast<int64_t>(page_x) * page.width;
    int64_t s_top = static_cast<int64_t>(page_y) * page.height;

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
