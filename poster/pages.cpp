// The page grid: how many pages a poster needs, whether a layout is possible,
// and which part of the picture each page carries.
#include "poster/geometry.h"
#include "poster/sheet_grid.h"

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
    case layout_refusal::band_too_wide:
        return "the glue band is as wide as the printable tile";
    }
    return "unknown refusal";
}

bool page_piece(smm_size poster, smm_size page, int_size page_du, int_size img_size,
                int32_t page_x, int32_t page_y, page_piece_rects* out)
{
    return sheet_piece(poster, page, 0, page_du, img_size, page_x, page_y, out);
}
