// The pages of the preview's grid.
#include "poster/preview_pages.h"

bool preview_grid_usable(const preview_geometry& geometry)
{
    return geometry.cell.width > 1 && geometry.cell.height > 1;
}

int_rect preview_grid_rect(const preview_geometry& geometry, int_size npages)
{
    const int_point origin = geometry.grid_origin;
    return {origin.x, origin.y, origin.x + geometry.cell.width * npages.width,
            origin.y + geometry.cell.height * npages.height};
}

int_rect preview_page_cell(const preview_geometry& geometry, int32_t column, int32_t row)
{
    const int32_t left = geometry.grid_origin.x + column * geometry.cell.width;
    const int32_t top = geometry.grid_origin.y + row * geometry.cell.height;
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
    const int64_t dx = static_cast<int64_t>(x) - geometry.grid_origin.x;
    const int64_t dy = static_cast<int64_t>(y) - geometry.grid_origin.y;
    if (dx < 0 || dy < 0)
        return false;
    const int64_t hit_column = dx / geometry.cell.width;
    const int64_t hit_row = dy / geometry.cell.height;
    if (hit_column >= npages.width || hit_row >= npages.height)
        return false;
    *column = static_cast<int32_t>(hit_column);
    *row = static_cast<int32_t>(hit_row);
    return true;
}
