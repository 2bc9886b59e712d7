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
};

// The rectangles of the page in column, row: the piece of the poster on the
// tile print_area.print_size, with the crop's size as the picture size.
// False, writing nothing, when page_piece refuses (a bad layout or a page
// off the grid) or print_rect has no device pixels.
bool page_rects_for(smm_size poster, const print_area& area, const int_rect& crop, int32_t column, int32_t row,
                    page_rects* out);

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
