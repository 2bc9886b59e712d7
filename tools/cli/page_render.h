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
// picture, and its crop (seamless parts are cut from the whole crop's
// resample). Returns the sheet (owned by the caller), or null with the
// reason in *failure. The log receives the records print_piece writes.
raster_image* render_page(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                          const sheet_layout& sheet, bool marks, const job_log* log, const char** failure);

// render_page onto page, an image of the sheet's size whatever it held
// before (every pixel is painted over), such as the previous sheet's: false
// with the reason in *failure.
bool draw_page(raster_image* page, const raster_image* picture, const int_rect& crop, const page_rects& rects,
               const sheet_layout& sheet, bool marks, const job_log* log, const char** failure);

// Paints a 24-bit sheet white all over: blank paper.
void fill_white(raster_image* sheet);

// Puts image on the sheet with its top-left corner at the device position
// at, cut off where it leaves the paper.
void place_on_sheet(raster_image* page, const sheet_layout& sheet, const raster_image* image, int_point at);

// Draws an axis-parallel line of sheet pixels in the marks' dash pattern and
// colour, the end point excluded; pixels off the sheet are left out.
void draw_dashed_line(raster_image* sheet, int_point from, int_point to);
