// The sheets of a poster beyond the plain page grid: a glue band on the
// inner edges, where each sheet repeats a strip of its neighbour's picture,
// and the seamless placement of the poster's device pixels on the sheets.
//
// With a band of overlap smm, sheet k of an axis carries the tile
// k * (page - overlap) .. k * (page - overlap) + page of the row of sheets,
// and the fewest sheets that hold the poster are used, so the poster keeps
// the size asked for. An overlap of 0 is the plain grid of whole tiles.
#pragma once
#include "poster/geometry.h"

constexpr int32_t max_overlap_smm = 3000;  // 30 mm

// Per axis the fewest sheets n with n * page - (n - 1) * overlap >= poster:
// pages_needed when the overlap is 0. The page must be wider than the
// overlap, the overlap not negative and the poster positive.
int_size sheets_needed(smm_size poster, smm_size page, int32_t overlap);

// check_grid with a glue band: the band must lie within 0 .. max_overlap_smm
// and be narrower than the tile on both axes.
layout_refusal check_sheet_grid(smm_size poster, smm_size page, int32_t overlap);
// check_sheet_grid, and besides a crop of positive size.
layout_refusal check_sheet_layout(smm_size poster, smm_size page, int32_t overlap, int_size crop);

// The length of a row of count sheets of page each, overlapping by overlap:
// in smm, or in device pixels.
int64_t sheet_row_length(int32_t count, int32_t page, int32_t overlap);

// page_piece with a glue band: the part of the poster on sheet (page_x,
// page_y), the picture part relative to the crop, the device part relative
// to the tile (smm scaled by page_du / page as page_piece does).
bool sheet_piece(smm_size poster, smm_size page, int32_t overlap, int_size page_du, int_size img_size,
                 int32_t page_x, int32_t page_y, page_piece_rects* out);

// Seamless sheets: the poster measured in device pixels at the device's
// resolution (rounded), centred on the row of sheets in device pixels, whose
// tiles advance by the tile less the band. Every sheet's device part is then
// a rectangle of one resample of the whole crop to poster_du, so the picture
// runs on across the seams at one scale, and neighbouring parts are
// contiguous (with a band, they share its pixels exactly).
struct device_placement {
    int_size poster_du;  // the poster in device pixels
    int_point origin;    // its top-left corner from the first tile's corner
    int_size advance;    // from one tile to the next, in device pixels
    int_size band_du;    // the glue band in device pixels
};
// False, writing nothing, for a resolution of 0 or less, an empty tile or an
// empty grid. The band in device pixels is kept narrower than the tile and
// the poster within the row of sheets.
bool place_poster_on_device(smm_size poster, int_size npages, int_size page_du, int32_t overlap, int32_t dpi_x,
                            int32_t dpi_y, device_placement* out);

// The device part of the sheet in column, row: page_rect relative to its
// tile, part_at its top-left corner within poster_du. A sheet the poster
// misses (possible only with an inconsistent tile) gets an empty part.
void seamless_part(const device_placement& placement, int_size page_du, int32_t column, int32_t row,
                   int_rect* page_rect, int_point* part_at);
