// Poster geometry: lengths, the page grid, the piece of the picture that falls
// on each page, the printable tile of a printer and the preview's layout.
// Everything here is integer arithmetic on plain numbers, free of the window
// system: the Windows side reads the printer and the window sizes and feeds
// them in.
//
// Lengths are smm, hundredths of a millimetre, in signed 32-bit integers.
// Picture positions are picture pixels, printer positions device pixels,
// preview positions client pixels. Rectangles are (left, top, right, bottom)
// with right and bottom exclusive. Divisions truncate toward zero unless a
// rounding MulDiv is named.
//
// Sizes that reach a division (the tile, the crop, the poster) must be
// positive, and the grid may hold at most max_grid_pages pages; check_layout
// says whether a layout passes, and the functions that need it refuse, leaving
// their outputs untouched, when it does not. For any 32-bit inputs that pass,
// intermediate products are taken in 64 bits, so no step overflows; results
// are those of plain 32-bit arithmetic wherever that does not overflow.
#pragma once
#include <cstdint>
#include <optional>

constexpr int32_t smm_per_mm = 100;
constexpr int32_t smm_per_cm = 1000;
constexpr int32_t smm_per_inch = 2540;

// The largest page grid a layout accepts, columns times rows. A poster on a
// small tile asks for a grid that cannot be held (100 m on a 1 smm tile would
// be ten million pages per side); 10,000 sheets is far beyond any real print
// job and keeps the page selection a small array.
constexpr int64_t max_grid_pages = 10000;

struct int_size {
    int32_t width;
    int32_t height;
    bool operator==(const int_size&) const = default;
};

struct int_point {
    int32_t x;
    int32_t y;
    bool operator==(const int_point&) const = default;
};

struct int_rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    bool operator==(const int_rect&) const = default;
};

// The same records with lengths in smm.
using smm_size = int_size;
using smm_rect = int_rect;

// a * b / divisor with the product in 64 bits, the division truncating toward
// zero and the result taken as 32 bits. A divisor of 0 gives 0; the layout
// never divides by 0 (check_layout).
int32_t mul_div64(int32_t a, int32_t b, int32_t divisor);

// a * b / divisor rounded to nearest, halves away from zero; -1 when the
// divisor is 0 or the result lies outside -2147483647 .. 2147483647. These are
// the semantics of the Windows MulDiv, computed without it.
int32_t win_mul_div(int32_t a, int32_t b, int32_t divisor);

// win_mul_div with 64-bit operands, for divisors that are themselves products
// of 32-bit values. a * b must fit in 64 bits.
int32_t win_mul_div64(int64_t a, int64_t b, int64_t divisor);

// Pages across and down: per axis the ceiling of poster / page. The page must
// be positive on both axes and the poster not negative.
int_size pages_needed(smm_size poster, smm_size page);

enum class layout_refusal : int32_t {
    none,
    no_tile,         // the printable tile has no area
    no_crop,         // the crop has no pixels
    no_poster,       // the poster has no area
    too_many_pages,  // the grid exceeds max_grid_pages
    band_too_wide,   // the glue band is not narrower than the tile
};

// Whether a poster of this size can be laid out on this tile: both positive
// and the grid within max_grid_pages.
layout_refusal check_grid(smm_size poster, smm_size page);
// check_grid, and besides a crop of positive size to show on it.
layout_refusal check_layout(smm_size poster, smm_size page, int_size crop);
// A sentence for the user, e.g. "the printable tile has no area".
const char* layout_refusal_text(layout_refusal refusal);

// The part of the poster that falls on the page in column page_x, row page_y.
// The poster is centred on the grid of whole tiles. image_rect is in crop
// pixels relative to the crop's top-left corner, page_rect in device pixels
// relative to the tile's top-left corner.
struct page_piece_rects {
    int_rect image_rect;
    int_rect page_rect;
};
// page is the tile in smm, page_du the tile in device pixels, img_size the
// crop in pixels. Returns false, writing nothing, when check_layout refuses or
// the page lies outside the grid.
bool page_piece(smm_size poster, smm_size page, int_size page_du, int_size img_size,
                int32_t page_x, int32_t page_y, page_piece_rects* out);

// The eight device capabilities a printer reports, in device pixels (the
// resolutions in dots per inch).
struct device_caps {
    int32_t dpi_x;              // LOGPIXELSX
    int32_t dpi_y;              // LOGPIXELSY
    int32_t physical_width;     // PHYSICALWIDTH
    int32_t physical_height;    // PHYSICALHEIGHT
    int32_t horz_res;           // HORZRES
    int32_t vert_res;           // VERTRES
    int32_t physical_offset_x;  // PHYSICALOFFSETX
    int32_t physical_offset_y;  // PHYSICALOFFSETY
};

// What one sheet of a printer offers once the user's margins are applied.
struct print_area {
    smm_size print_size;   // the printable tile
    int_rect print_rect;   // the tile in device pixels, from the device origin
    smm_rect page_margin;  // per side the larger of the margin and the unprintable strip
    smm_rect unprintable;  // strips at the paper edges the printer cannot reach
    smm_size paper;        // page_margin plus print_size, per axis
};

// Measures the printable tile from the device capabilities. swap exchanges the
// physical offsets first, for drivers that do not rotate them in landscape.
// Null margins count as 0 on every side. Refuses (nullopt) a resolution of 0
// or less and results that do not fit in 32 bits.
std::optional<print_area> measure_print_area(const device_caps& caps, bool swap, const smm_rect* margins);

// Where the grid of pages and the picture lie in the preview window.
struct preview_geometry {
    int_size cell;             // one page in client pixels
    int_point grid_origin;     // top-left corner of the grid
    int_rect picture_rect;     // the poster picture inside the grid
    int_size step = {};        // from one page to the next: the cell less the glue band
};

// Client pixels the preview keeps free: a border on each side and a status
// strip at the bottom.
constexpr int32_t preview_border = 10;
constexpr int32_t preview_status_height = 20;

// Lays the grid of pages out in a preview of the given client size: the grid
// is fitted to the width first and to the height only when that is too tall,
// the page cells keep the tile's aspect, and the picture is centred on the
// grid as the print job centres it on the pages. A client area smaller than
// the borders and the status strip leaves no room (cells of 0). Returns false,
// writing nothing, when check_grid refuses.
bool preview_layout(int_size client, smm_size poster, smm_size page, preview_geometry* out);
// The same with a glue band of overlap smm between neighbouring pages: the
// grid is the row of sheets (sheet_grid.h), the cells overlap by the band
// and step by the tile less the band. An overlap of 0 gives preview_layout's
// geometry. Returns false, writing nothing, when check_sheet_grid refuses.
bool preview_layout_bands(int_size client, smm_size poster, smm_size page, int32_t overlap, preview_geometry* out);
