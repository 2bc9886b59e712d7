// Laying out and printing a poster plan.
#include "tools/cli/plan_output.h"

#include "poster/poster_size.h"
#include "poster/sheet_grid.h"

#include <cstdio>

namespace {

bool poster_size(std::optional<double> width, std::optional<double> height, int_size crop, smm_size* poster)
{
    if (width && height)
        return poster_from_sides(*width, *height, poster);
    if (width)
        return poster_from_side(poster_side::width, *width, crop, poster);
    return poster_from_side(poster_side::height, *height, crop, poster);
}

void print_record(const char* name, const int_rect& r)
{
    std::printf("%s ", name);
    print_rect_fields(r);
    std::printf("\n");
}

}  // namespace

const char* make_poster_plan(const printer_options& printer, std::optional<double> width,
                             std::optional<double> height, const craft_options& craft, int_size crop,
                             poster_plan* out)
{
    const std::optional<print_area> area = printer_print_area(printer);
    if (!area)
        return "the printer's measurements are out of range";
    const int32_t overlap = craft.craft.overlap;
    smm_size poster;
    if (craft.sheets_wide > 0 || craft.sheets_high > 0) {
        if (check_sheet_grid({1, 1}, area->print_size, overlap) != layout_refusal::none)
            return layout_refusal_text(check_sheet_grid({1, 1}, area->print_size, overlap));
        const std::optional<smm_size> fitted =
            poster_for_sheets(craft.sheets_wide, craft.sheets_high, area->print_size, overlap, crop);
        if (!fitted)
            return "no poster of the picture's aspect fits those sheets";
        poster = *fitted;
    } else if (!poster_size(width, height, crop, &poster)) {
        return "each side of the poster must lie between 1 and 10000000 smm (100 m)";
    }
    const layout_refusal refusal = check_sheet_layout(poster, area->print_size, overlap, crop);
    if (refusal != layout_refusal::none)
        return layout_refusal_text(refusal);
    const int_rect& pr = area->print_rect;
    if (pr.right <= pr.left || pr.bottom <= pr.top)
        return "the printable tile has no device pixels";
    *out = {poster, *area, sheets_needed(poster, area->print_size, overlap), checked_craft(craft.craft), crop};
    return nullptr;
}

sheet_frame plan_sheet_frame(const poster_plan& plan, int32_t dpi)
{
    sheet_frame frame;
    frame.poster = plan.poster;
    frame.area = plan.area;
    frame.overlap = plan.craft.overlap;
    frame.seamless = plan.craft.seamless;
    frame.dpi_x = dpi;
    frame.dpi_y = dpi;
    return frame;
}

void print_rect_fields(const int_rect& r)
{
    std::printf("%d %d %d %d", r.left, r.top, r.right, r.bottom);
}

void print_plan_head(const poster_plan& plan)
{
    const print_area& area = plan.area;
    std::printf("tile %d %d\n", area.print_size.width, area.print_size.height);
    print_record("print_rect", area.print_rect);
    print_record("page_margin", area.page_margin);
    std::printf("paper %d %d\n", area.paper.width, area.paper.height);
    std::printf("poster %d %d\n", plan.poster.width, plan.poster.height);
    std::printf("npages %d %d\n", plan.npages.width, plan.npages.height);
    if (plan.craft.overlap > 0)
        std::printf("overlap %d\n", plan.craft.overlap);
    const std::optional<resolution_report> meter =
        poster_resolution(plan.crop, plan.poster, plan.craft.low_ppi, plan.craft.very_low_ppi);
    if (!meter)
        return;
    std::printf("resolution %.1f %.1f\n", meter->ppi_x, meter->ppi_y);
    if (meter->level != resolution_level::good)
        std::printf("resolution_warning %s largest %d %d\n",
                    meter->level == resolution_level::low ? "low" : "very_low", meter->largest.width,
                    meter->largest.height);
}

void print_plan_page(const grid_position& page, const page_rects& rects)
{
    std::printf("page %d %d image ", page.column, page.row);
    print_rect_fields(rects.image_rect);
    std::printf(" device ");
    print_rect_fields(rects.device_rect);
    std::printf("\n");
}
