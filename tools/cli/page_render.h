// One printed sheet as a picture: white paper of the sheet's full device
// size, the page's part of the picture placed exactly as the print job sends
// it to the printer, and the dashed corner marks when they are asked for.
#pragma once
#include "poster/geometry.h"
#include "poster/job_log.h"
#include "poster/print_job.h"
#include "raster/raster_image.h"

// The sheet in device pixels and where the device origin, the top-left
// corner of the printable area, lies on it.
struct sheet_layout {
    int_size size;     // PHYSICALWIDTH x PHYSICALHEIGHT
    int_point origin;  // PHYSICALOFFSETX, PHYSICALOFFSETY
    int32_t dpi_x;
    int32_t dpi_y;
};
sheet_layout sheet_of(const device_caps& caps);

// The corner marks' dash pattern in device pixels, from each line's start:
// what the PostScript output of a 1-pixel dashed pen gives (Wine's PostScript
// driver sets the dash array "50 30" for such a pen), so that a rendered sheet
// can be compared with a printed one within a small tolerance.
constexpr int32_t mark_dash_length = 50;
constexpr int32_t mark_gap_length = 30;

// Renders the page whose rectangles are rects from picture, a 24-bit
// picture. Returns the sheet (owned by the caller), or null with the reason
// in *failure. The log receives the records print_piece writes.
raster_image* render_page(const raster_image* picture, const page_rects& rects, const sheet_layout& sheet,
                          bool marks, const job_log* log, const char** failure);

// Draws an axis-parallel line of sheet pixels in the marks' dash pattern and
// colour, the end point excluded; pixels off the sheet are left out.
void draw_dashed_line(raster_image* sheet, int_point from, int_point to);
