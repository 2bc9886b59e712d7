// The pages of the preview's grid.
#include "poster/preview_pages.h"

#include <algorithm>

namespace {

// From one page to the next; a geometry without a step has none of a band.
int_size step_of(const preview_geometry& geometry)
{
    return {geometry.step.width > 0 ? geometry.step.width : geometry.cell.width,
            geometry.step.height > 0 ? geometry.step.height : geometry.cell.height};
}

}  // namespace

bool preview_grid_usable(const preview_geometry& geometry)
{
    const int_size step = step_of(geometry);
    return geometry.cell.width > 1 && geometry.cell.height > 1 && step.width > 0 && step.height > 0;
}

int_rect preview_grid_rect(const preview_geometry& geometry, int_size npages)
{
    const int_point origin = geometry.grid_origin;
    const int_size step = step_of(geometry);
    return {origin.x, origin.y, origin.x + step.width * (npages.width - 1) + geometry.cell.width,
            origin.y + step.height * (npages.height - 1) + geometry.cell.height};
}

int_rect preview_page_cell(const preview_geometry& geometry, int32_t column, int32_t row)
{
    const int_size step = step_of(geometry);
    const int32_t left = geometry.grid_origin.x + column * step.width;
    const int32_t top = geometry.grid_origin.y + row * step.height;
    return {left, top, left + geometry.cell.width, top + geometry.cell.height};
}

int_rect preview_page_outline(const preview_geometry& geometry, int_size npages, int32_t column, int32_t row)
{
    int_rect outline = preview_page_cell(geometry, column, row);
    if (column != npages.width - 1)
        ++outline.right;
    if (row != npages.height - 1)
        ++outline.bottom;
    return outline;
}

bool preview_page_at(const preview_geometry& geometry, int_size npages, int32_t x, int32_t y, int32_t* column,
                     int32_t* row)
{
    if (!preview_grid_usable(geometry))
        return false;
    const int_rect grid = preview_grid_rect(geometry, npages);
    if (x < grid.left || y < grid.top || x >= grid.right || y >= grid.bottom)
        return false;
    // A click on a band belongs to the page whose step it starts; the band
    // after the last step belongs to the last page.
    const int_size step = step_of(geometry);
    *column = static_cast<int32_t>(std::min<int64_t>((static_cast<int64_t>(x) - grid.left) / step.width, npages.width - 1));
    *row = static_cast<int32_t>(std::min<int64_t>((static_cast<int64_t>(y) - grid.top) / step.height, npages.height - 1));
    return true;
}

std::vector<int_rect> preview_glue_bands(const preview_geometry& geometry, int_size npages)
{
    std::vector<int_rect> bands;
    const int_size step = step_of(geometry);
    const int_rect grid = preview_grid_rect(geometry, npages);
    if (step.width < geometry.cell.width)
        for (int32_t column = 1; column < npages.width; ++column) {
            const int32_t left = grid.left + column * step.width;
            bands.push_back({left, grid.top, grid.left + (column - 1) * step.width + geometry.cell.width, grid.bottom});
        }
    if (step.height < geometry.cell.height)
        for (int32_t row = 1; row < npages.height; ++row) {
            const int32_t top = grid.top + row * step.height;
            bands.push_back({grid.left, top, grid.right, grid.top + (row - 1) * step.height + geometry.cell.height});
        }
    return bands;
}
