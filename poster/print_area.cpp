// The printable tile of one sheet, from a printer's device capabilities and
// the user's margins.
#include "poster/geometry.h"

#include <utility>

std::optional<print_area> measure_print_area(const device_caps& caps, bool swap, const smm_rect* margins)
{
    const int64_t dpi_x = caps.dpi_x;
    const int64_t dpi_y = caps.dpi_y;
    if (dpi_x <= 0 || dpi_y <= 0)
        return std::nullopt;
    int64_t off_x = caps.physical_offset_x;
    int64_t off_y = caps.physical_offset_y;
    if (swap)
        std::swap(off_x, off_y);
    const int64_t horz = caps.horz_res;
    const int64_t vert = caps.vert_res;

    // Device pixels to smm and back, truncating; the multiplication comes
    // first, as the results are pinned to that order.
    auto smm_x = [&](int64_t px) { return px * smm_per_inch / dpi_x; };
    auto smm_y = [&](int64_t px) { return px * smm_per_inch / dpi_y; };
    auto px_x = [&](int64_t smm) { return smm * dpi_x / smm_per_inch; };
    auto px_y = [&](int64_t smm) { return smm * dpi_y / smm_per_inch; };

    const int64_t area_w = smm_x(horz);
    const int64_t area_h = smm_y(vert);
    const int64_t unp_left = smm_x(off_x);
    const int64_t unp_top = smm_y(off_y);
    const int64_t unp_right = smm_x(caps.physical_width - off_x - horz);
    const int64_t unp_bottom = smm_y(caps.physical_height - off_y - vert);

    // The part of each margin that reaches beyond the unprintable strip.
    const smm_rect none{0, 0, 0, 0};
    const smm_rect& m = margins ? *margins : none;
    auto extra = [](int64_t margin, int64_t strip) { return margin > strip ? margin - strip : 0; };
    const int64_t e_left = extra(m.left, unp_left);
    const int64_t e_top = extra(m.top, unp_top);
    const int64_t e_right = extra(m.right, unp_right);
    const int64_t e_bottom = extra(m.bottom, unp_bottom);

    const int64_t margin_left = unp_left + e_left;
    const int64_t margin_top = unp_top + e_top;
    const int64_t margin_right = unp_right + e_right;
    const int64_t margin_bottom = unp_bottom + e_bottom;
    const int64_t tile_w = area_w - e_right - e_left;
    const int64_t tile_h = area_h - e_bottom - e_top;

    bool fits = true;
    auto narrow = [&fits](int64_t v) {
        fits = fits && v >= INT32_MIN && v <= INT32_MAX;
        return static_cast<int32_t>(v);
    };
    print_area area;
    area.print_size = {narrow(tile_w), narrow(tile_h)};
    area.print_rect = {narrow(px_x(e_left)), narrow(px_y(e_top)),
                       narrow(horz - px_x(e_right)), narrow(vert - px_y(e_bottom))};
    area.unprintable = {narrow(unp_left), narrow(unp_top), narrow(unp_right), narrow(unp_bottom)};
    area.page_margin = {narrow(margin_left), narrow(margin_top), narrow(margin_right), narrow(margin_bottom)};
    area.paper = {narrow(margin_left + margin_right + tile_w), narrow(margin_top + margin_bottom + tile_h)};
    if (!fits)
        return std::nullopt;
    return area;
}
