// The assembly sheet: an extra first page that shows how the sheets go
// together without the program. A few lines of text (the finished size in
// the display unit, the paper, the sheet count, the glue band and how to
// glue) over a map of the page grid: every sheet's outline and name on a
// thumbnail of the crop placed as the print places it, bands shaded and
// skipped sheets greyed. It is drawn in bands of rows, so that a printer job
// holds only a strip of the page at a time.
#pragma once
#include <string>
#include <vector>

#include "poster/geometry.h"
#include "poster/page_flags.h"
#include "poster/sheet_marks.h"
#include "raster/owned_image.h"

struct assembly_input {
    const raster_image* picture;  // 24-bit
    int_rect crop;
    smm_size poster;
    smm_size page;                // the tile
    int32_t overlap;              // smm
    const page_flags* flags;
    bool metric;
    std::string paper_name;       // empty: the paper's size is shown instead
    smm_size paper;
    int_rect area;                // where the sheet is drawn, device pixels from the device origin
    int32_t dpi_x;
    int32_t dpi_y;
};

struct assembly_layout {
    std::vector<std::string> lines;
    int_rect map;                 // the sheets' grid as drawn
    int_size npages;
    std::vector<int_rect> cells;  // each sheet's tile, row by row
    int_rect picture;             // where the poster lies on the map
    std::vector<placed_picture> texts;  // the lines and the names, rendered and placed
};

// The sheet's text and map. The map keeps the grid's proportions: cell k of
// an axis starts at k * (tile - band) of the row of sheets, scaled.
assembly_layout layout_assembly_sheet(const assembly_input& input);

// Draws the rows top .. top + band->height - 1 (device pixels from the
// device origin) of the sheet into band (24-bit), white where nothing lies;
// the band's first column is the area's left edge.
void draw_assembly_band(const assembly_input& input, const assembly_layout& layout, int32_t top,
                        raster_image* band);
