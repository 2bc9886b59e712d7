// Where the page grid and the picture lie in the preview window.
#include "poster/geometry.h"
#include "poster/sheet_grid.h"

#include <algorithm>

bool preview_layout(int_size client, smm_size poster, smm_size page, preview_geometry* out)
{
    if (check_grid(poster, page) != layout_refusal::none)
        return false;
    return preview_layout_bands(client, poster, page, 0, out);
}

bool preview_layout_bands(int_size client, smm_size poster, smm_size page, int32_t overlap, preview_geometry* out)
{
    if (check_sheet_grid(poster, page, overlap) != layout_refusal::none)
        return false;
    const int_size n = sheets_needed(poster, page, overlap);
    // The rows of sheets in smm; without a band, n whole tiles.
    const int64_t grid_smm_w = sheet_row_length(n.width, page.width, overlap);
    const int64_t grid_smm_h = sheet_row_length(n.height, page.height, overlap);
    // The room inside the borders and above the status strip; a window smaller
    // than those has none, rather than a negative room that would give
    // negative cells.
    const int64_t room_w = std::max<int64_t>(static_cast<int64_t>(client.width) - 2 * preview_border, 0);
    const int64_t room_h =
        std::max<int64_t>(static_cast<int64_t>(client.height) - 2 * preview_border - preview_status_height, 0);

    // Fit the width first; fit the height only when the grid is then too tall.
    // Without a band the cell is room / n, and cell_h * rows > room_h is
    // tested as cell_h > room_h / rows, the same for whole numbers, because a
    // very tall tile can make the product overflow.
    int64_t cell_w = room_w * page.width / grid_smm_w;
    int64_t cell_h = cell_w * page.height / page.width;
    auto step_of = [&](int64_t cell, int32_t tile) { return cell * (tile - overlap) / tile; };
    auto too_tall = [&](int64_t cell) {
        if (overlap == 0)
            return cell > room_h / n.height;
        return step_of(cell, page.height) * (n.height - 1) + cell > room_h;
    };
    if (too_tall(cell_h)) {
        cell_h = room_h * page.height / grid_smm_h;
        cell_w = cell_h * page.width / page.height;
    }
    const int64_t step_w = step_of(cell_w, page.width);
    const int64_t step_h = step_of(cell_h, page.height);
    const int64_t grid_w = step_w * (n.width - 1) + cell_w;
    const int64_t grid_h = step_h * (n.height - 1) + cell_h;
    const int64_t grid_left = (room_w - grid_w) / 2 + preview_border;
    const int64_t grid_top = (room_h - grid_h) / 2 + preview_border;

    // The poster is smaller than the row of sheets; scale it by the grid's
    // size in pixels over the grid's size in smm, rounding.
    const int32_t pic_w = win_mul_div64(poster.width, grid_w, grid_smm_w);
    const int32_t pic_h = win_mul_div64(poster.height, grid_h, grid_smm_h);
    const int64_t pic_left = (grid_w - pic_w) / 2 + grid_left;
    const int64_t pic_top = (grid_h - pic_h) / 2 + grid_top;

    out->cell = {static_cast<int32_t>(cell_w), static_cast<int32_t>(cell_h)};
    out->step = {static_cast<int32_t>(step_w), static_cast<int32_t>(step_h)};
    out->grid_origin = {static_cast<int32_t>(grid_left), static_cast<int32_t>(grid_top)};
    out->picture_rect = {static_cast<int32_t>(pic_left), static_cast<int32_t>(pic_top),
                         static_cast<int32_t>(pic_left + pic_w), static_cast<int32_t>(pic_top + pic_h)};
    return true;
}
