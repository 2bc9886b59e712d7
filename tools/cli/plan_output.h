// The layout of a poster as the commands that lay out pages work it out and
// print it: the poster's size from the options, the printer's tile, the page
// grid, and one line per page.
#pragma once
#include "poster/geometry.h"
#include "poster/print_job.h"
#include "tools/cli/craft_options.h"
#include "tools/cli/printer_options.h"

#include <optional>

struct poster_plan {
    smm_size poster;
    print_area area;
    int_size npages;
    poster_craft craft;  // as the options give it
    int_size crop;
};

// The poster (width and height in smm, one of them or both given, the other
// following the crop's aspect; or the largest on the sheets asked for) laid
// out on the described printer with the craft's glue band. Null when the
// plan is made, otherwise the reason it is refused.
const char* make_poster_plan(const printer_options& printer, std::optional<double> width,
                             std::optional<double> height, const craft_options& craft, int_size crop,
                             poster_plan* out);

// "tile W H", "print_rect L T R B", "page_margin ...", "paper W H",
// "poster W H", "npages C R", "overlap O" with a glue band, "resolution X Y"
// and, below the thresholds, "resolution_warning low|very_low largest W H",
// one a line.
void print_plan_head(const poster_plan& plan);

// The frame the plan's sheets are cut with, for a printer of that resolution.
sheet_frame plan_sheet_frame(const poster_plan& plan, int32_t dpi);

// "page C R image L T R B device L T R B": the piece relative to the crop and
// the device rectangle from the device origin.
void print_plan_page(const grid_position& page, const page_rects& rects);

// "L T R B".
void print_rect_fields(const int_rect& rect);
