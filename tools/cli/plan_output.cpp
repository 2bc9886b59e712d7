// Laying out and printing a poster plan.
#include "tools/cli/plan_output.h"

#include "poster/poster_size.h"

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
                             std::optional<double> height, int_size crop, poster_plan* out)
{
    smm_size poster;
    if (!poster_size(width, height, crop, &poster))
        return "each side of the poster must lie between 1 and 10000000 smm (100 m)";
    const std::optional<print_area> area = printer_print_area(printer);
    if (!area)
        return "the printer's measurements are out of range";
    const layout_refusal refusal = check_layout(poster, area->print_size, crop);
    if (refusal != layout_refusal::none)
        return layout_refusal_text(refusal);
    const int_rect& pr = area->print_rect;
    if (pr.right <= pr.left || pr.bottom <= pr.top)
        return "the printable tile has no device pixels";
    *out = {poster, *area, pages_needed(poster, area->print_size)};
    return nullptr;
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
}

void print_plan_page(const grid_position& page, const page_rects& rects)
{
    std::printf("page %d %d image ", page.column, page.row);
    print_rect_fields(rects.image_rect);
    std::printf(" device ");
    print_rect_fields(rects.device_rect);
    std::printf("\n");
}
