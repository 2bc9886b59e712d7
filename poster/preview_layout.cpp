// Where the page grid and the picture lie in the preview window.
#include "poster/geometry.h"

#include <algorithm>

bool preview_layout(int_size client, smm_size poster, smm_size page, preview_geometry* out)
{
    if (check_grid(poster, page) != layout_refusal::none)
        return false;
    const int_size n = pages_needed(poster, page);
    // The room inside the borders and above the status strip; a window smaller
    // than those has none, rather than a negative room that would give
    // negative cells.
    const int64_t room_w = std::max<int64_t>(static_cast<int64_t>(client.width) - 2 * preview_border, 0);
    const int64_t room_h =
        std::max<int64_t>(static_cast<int64_t>(client.height) - 2 * preview_border - preview_status_height, 0);

    // Fit the width first; fit the height only when the grid is then too tall.
    // cell_h * rows > room_h is tested as cell_h > room_h / rows, the same for
    // whole numbers, because a very tall tile can make the product overflow.
    int64_t cell_w = room_w / n.width;
    int64_t cell_h = cell_w * page.height / page.width;
    if (cell_h > room_h / n.height) {
        cell_h = room_h / n.height;
        cell_w = cell_h * page.width / page.height;
    }
    const int64_t grid_w = cell_w * n.width;
    const int64_t grid_h = cell_h * n.height;
    const int64_t grid_left = (room_w - grid_w) / 2 + preview_border;
    const int64_t grid_top = (room_h - grid_h) / 2 + preview_border;

    // The poster is smaller than the grid of whole tiles; scale it by the
    // grid's size in pixels over the grid's size in smm, rounding.
    const int32_t pic_w = win_mul_div64(poster.width, grid_w, static_cast<int64_t>(page.width) * n.width);
    const int32_t pic_h = win_mul_div64(poster.height, grid_h, static_cast<int64_t>(page.height) * n.height);
    const int64_t pic_left = (grid_w - pic_w) / 2 + grid_left;
    const int64_t pic_top = (grid_h - pic_h) / 2 + grid_top;

    out->cell = {static_cast<int32_t>(cell_w), static_cast<int32_t>(cell_h)};
    out->grid_origin = {static_cast<int32_t>(grid_left), static_cast<int32_t>(grid_top)};
    out->picture_rect = {static_cast<int32_t>(pic_left), static_cast<int32_t>(pic_top),
                         static_cast<int32_t>(pic_left + pic_w), static_cast<int32_t>(pic_top + pic_h)};
    return true;
}
