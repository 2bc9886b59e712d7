// The print job's arithmetic, free of the window system: the order in which
// pages are printed, the rectangles of each printed page, the corner marks
// and the small sheet picture of the progress dialog. The Windows job and
// tilora-cli pages both walk their pages with these functions, so that what
// the command line renders is what the printer receives.
#pragma once
#include "poster/geometry.h"
#include "raster/raster_image.h"

#include <array>

struct grid_position {
    int32_t column;
    int32_t row;
    bool operator==(const grid_position&) const = default;
};

// Moves to the page printed after `position`: portrait jobs run down each
// column from the left column to the right, landscape jobs across each row
// from the top row down. False, leaving position alone, after the last page
// or when the grid has no pages.
bool next_grid_position(grid_position& position, int_size npages, bool portrait);

// The rectangles of one printed page, in the order the job computes them.
struct page_rects {
    int_size page_du;       // the tile in device pixels: the size of print_rect
    int_rect image_rect;    // crop pixels, relative to the crop's top-left corner
    int_rect page_rect;     // device pixels, relative to the tile's top-left corner
    int_rect picture_rect;  // image_rect moved into picture pixels
    int_rect device_rect;   // page_rect moved into device pixels from the device origin
    // Seamless sheets: the poster's extent in device pixels and where the part
    // lies in it; a poster_du of 0 x 0 resamples the part on its own.
    int_size poster_du = {};
    int_point part_at = {};
};

// How a job cuts its sheets: the poster on the printable tile, the glue band
// between neighbouring sheets and whether the parts come from one resample of
// the whole crop (seamless) or each from its own.
struct sheet_frame {
    smm_size poster = {};
    print_area area = {};
    int32_t overlap = 0;  // smm
    bool seamless = false;
    int32_t dpi_x = 0;    // the device's resolution, for seamless parts
    int32_t dpi_y = 0;
};

// The rectangles of the page in column, row: the piece of the poster on the
// tile print_area.print_size, with the crop's size as the picture size.
// False, writing nothing, when page_piece refuses (a bad layout or a page
// off the grid) or print_rect has no device pixels.
bool page_rects_for(smm_size poster, const print_area& area, const int_rect& crop, int32_t column, int32_t row,
                    page_rects* out);

// The rectangles of a sheet of the frame: image_rect and picture_rect as
// sheet_piece gives them (page_piece with the band); page_rect and
// device_rect, when seamless, the sheet's part of the poster placed on the
// device (place_poster_on_device), else sheet_piece's. False, writing
// nothing, when the layout is refused, the sheet lies off the grid or
// print_rect has no device pixels.
bool sheet_rects_for(const sheet_frame& frame, const int_rect& crop, int32_t column, int32_t row, page_rects* out);

// Corner marks at the edges of a printed part: eight axis-parallel lines,
// two arms of 5 mm at each corner. Lines run from `from` towards `to`, the
// end point itself not drawn (as a device draws a line).
struct line_segment {
    int_point from;
    int_point to;
    bool operator==(const line_segment&) const = default;
};
constexpr int32_t corner_mark_smm = 500;
constexpr uint32_t corner_mark_rgb = 0xC8C8C8;  // the pen's colour, 200 on each channel

// The marks of the part at device_rect (absolute device pixels), in drawing
// order: top-left, bottom-left, bottom-right, top-right corner, each first
// its vertical arm, then its horizontal arm.
std::array<line_segment, 8> corner_marks(const int_rect& device_rect, int32_t dpi_x, int32_t dpi_y);

// Where the progress dialog draws the paper: the paper fitted, aspect kept,
// into the placeholder frame less 10 pixels, then centred on the frame and
// moved up and left by 10 pixels, leaving room for the drop shadow at
// (+10, +10). Empty at the frame's corner when the paper has no area.
int_rect paper_drawing_rect(const int_rect& frame, smm_size paper);

// Where the page's part lies in the paper drawing: page_rect (device pixels
// relative to the tile) in smm from the paper edge, scaled into drawing.
// False, writing nothing, for a resolution or a paper without size.
bool sheet_picture_rect(const int_rect& page_rect, int32_t dpi_x, int32_t dpi_y, const smm_rect& page_margin,
                        smm_size paper, const int_rect& drawing, int_rect* out);

// A view of picture over rect, for the piece a page carries. A rect outside
// the picture is refused (false). An empty rect, which a picture of very few
// pixels on a poster of many pages can give, is widened to the one pixel at
// its corner, so that the page still gets its part of the picture rather than
// stopping the job.
bool piece_view(const raster_image* picture, const int_rect& rect, raster_image* out);
