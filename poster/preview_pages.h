// The pages of the preview's grid: where each page's outline is drawn and
// which page a click falls on.
#pragma once
#include "poster/geometry.h"

#include <vector>

// Pages step by the geometry's step (the cell less the glue band; the cell
// itself without one). Outlines are drawn and clicks taken only when every
// page is more than one pixel wide and high.
bool preview_grid_usable(const preview_geometry& geometry);

// The whole grid: from its origin, columns x rows cells.
int_rect preview_grid_rect(const preview_geometry& geometry, int_size npages);

// The cell of the page in column, row.
int_rect preview_page_cell(const preview_geometry& geometry, int32_t column, int32_t row);

// The outline of that page: the cell, one pixel wider unless it is the last
// column and one pixel higher unless it is the last row, so that
// neighbouring outlines share a line.
int_rect preview_page_outline(const preview_geometry& geometry, int_size npages, int32_t column, int32_t row);

// The page under the client point (x, y). False when the grid is not usable
// or the point lies left of, above, right of or below the grid.
bool preview_page_at(const preview_geometry& geometry, int_size npages, int32_t x, int32_t y, int32_t* column,
                     int32_t* row);

// The glue bands where neighbouring pages overlap: a strip the grid's height
// per inner column edge, one the grid's width per inner row edge. None
// without a band.
std::vector<int_rect> preview_glue_bands(const preview_geometry& geometry, int_size npages);
