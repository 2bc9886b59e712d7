// The assembly sheet's layout and drawing.
#include "poster/assembly_sheet.h"

#include <algorithm>
#include <cstdio>

#include "poster/sheet_grid.h"
#include "poster/sheet_text.h"

namespace {

constexpr int32_t line_smm = 400;           // text lines 4 mm high
constexpr int32_t most_name_smm = 600;      // names at most 6 mm high
constexpr int32_t outline_smm = 25;         // cell outlines 0.25 mm wide
constexpr uint32_t text_ink = 0x202020;
constexpr uint32_t outline_ink = 0x404040;
constexpr uint32_t name_ink = 0x000000;

std::string length_text(int32_t smm, bool metric)
{
    char text[32];
    std::snprintf(text, sizeof text, metric ? "%.2f cm" : "%.2f in",
                  static_cast<double>(smm) / (metric ? smm_per_cm : smm_per_inch));
    return text;
}

std::string band_text(int32_t smm, bool metric)
{
    char text[32];
    if (metric)
        std::snprintf(text, sizeof text, "%.1f mm", static_cast<double>(smm) / smm_per_mm);
    else
        std::snprintf(text, sizeof text, "%.2f in", static_cast<double>(smm) / smm_per_inch);
    return text;
}

std::vector<std::string> sheet_lines(const assembly_input& in, int_size n)
{
    const std::string paper = !in.paper_name.empty()
                                  ? in.paper_name
                                  : std::to_string((in.paper.width + 50) / 100) + " x " +
                                        std::to_string((in.paper.height + 50) / 100) + " mm";
    const int32_t printed = all_papers(*in.flags);
    const int32_t sheets = n.width * n.height;
    std::vector<std::string> lines = {
        "Poster " + length_text(in.poster.width, in.metric) + " x " + length_text(in.poster.height, in.metric) +
            " on " + std::to_string(sheets) + (sheets == 1 ? " sheet" : " sheets") + " of " + paper + ", " +
            std::to_string(n.width) + " across and " + std::to_string(n.height) + " down",
        std::to_string(printed) + " of them printed" + (printed < sheets ? "; grey sheets are left out" : "") +
            ". Names: column letter, row number; A1 is at the top left.",
    };
    if (in.overlap > 0)
        lines.push_back("Glue band " + band_text(in.overlap, in.metric) +
                        ": each sheet goes under its neighbours to the left and above; trim those at the picture's "
                        "edge and glue them over the band.");
    else
        lines.push_back("No glue band: trim every sheet at the picture's edges and butt the sheets together.");
    return lines;
}

int32_t device_length(int32_t smm, int32_t dpi)
{
    return std::max(1, mul_div64(smm, dpi, smm_per_inch));
}

int32_t scaled(int64_t smm, int64_t num, int64_t den)
{
    return static_cast<int32_t>(smm * num / den);
}

// Applies f to every pixel of rect (device coordinates) that lies in the band.
template <typename F>
void for_pixels(raster_image* band, int_point origin, const int_rect& rect, F f)
{
    const int32_t left = std::max(rect.left - origin.x, 0);
    const int32_t right = std::min(rect.right - origin.x, band->width);
    const int32_t top = std::max(rect.top - origin.y, 0);
    const int32_t bottom = std::min(rect.bottom - origin.y, band->height);
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            f(band->pixels + static_cast<ptrdiff_t>(y) * band->stride + static_cast<ptrdiff_t>(x) * 3, x + origin.x,
              y + origin.y);
}

void fill(raster_image* band, int_point origin, const int_rect& rect, uint32_t rgb)
{
    for_pixels(band, origin, rect, [&](uint8_t* p, int32_t, int32_t) {
        p[0] = rgb & 0xFF;
        p[1] = (rgb >> 8) & 0xFF;
        p[2] = (rgb >> 16) & 0xFF;
    });
}

void outline(raster_image* band, int_point origin, const int_rect& r, int32_t width, uint32_t rgb)
{
    fill(band, origin, {r.left, r.top, r.right, r.top + width}, rgb);
    fill(band, origin, {r.left, r.bottom - width, r.right, r.bottom}, rgb);
    fill(band, origin, {r.left, r.top, r.left + width, r.bottom}, rgb);
    fill(band, origin, {r.right - width, r.top, r.right, r.bottom}, rgb);
}

}  // namespace

assembly_layout layout_assembly_sheet(const assembly_input& in)
{
    assembly_layout layout;
    const int_rect& a = in.area;
    const int32_t area_w = std::max(a.right - a.left, 1);
    const int32_t area_h = std::max(a.bottom - a.top, 1);
    layout.npages = sheets_needed(in.poster, in.page, in.overlap);
    layout.lines = sheet_lines(in, layout.npages);

    // The lines at 4 mm, smaller when the longest would not fit the width.
    int32_t height = std::min(device_length(line_smm, in.dpi_y), std::max(area_h / 20, 1));
    std::vector<owned_image> lines;
    int32_t widest = 0;
    for (const std::string& line : layout.lines) {
        lines.push_back(render_text_line(line, height, text_ink, 0xFFFFFF));
        widest = std::max(widest, lines.back() ? lines.back()->width : 0);
    }
    if (widest > area_w) {
        height = std::max(1, static_cast<int32_t>(static_cast<int64_t>(height) * area_w / widest));
        for (size_t i = 0; i < lines.size(); ++i)
            lines[i] = render_text_line(layout.lines[i], height, text_ink, 0xFFFFFF);
    }
    int32_t y = a.top;
    for (owned_image& line : lines) {
        if (!line)
            continue;
        const int32_t line_height = line->height;
        layout.texts.push_back({std::move(line), {a.left, y}});
        y += line_height + height / 4;
    }
    y += height;

    // The map: the row of sheets in smm fitted into the rest, aspect kept.
    const int64_t grid_w = sheet_row_length(layout.npages.width, in.page.width, in.overlap);
    const int64_t grid_h = sheet_row_length(layout.npages.height, in.page.height, in.overlap);
    const int64_t room_w = area_w;
    const int64_t room_h = std::max<int64_t>(a.bottom - y, 1);
    int64_t num = room_w;
    int64_t den = grid_w;
    if (room_w * grid_h > room_h * grid_w) {
        num = room_h;
        den = grid_h;
    }
    const int32_t map_w = scaled(grid_w, num, den);
    const int32_t map_h = scaled(grid_h, num, den);
    const int32_t left = a.left + (area_w - map_w) / 2;
    layout.map = {left, y, left + map_w, y + map_h};
    for (int32_t row = 0; row < layout.npages.height; ++row) {
        for (int32_t column = 0; column < layout.npages.width; ++column) {
            const int64_t sx = static_cast<int64_t>(column) * (in.page.width - in.overlap);
            const int64_t sy = static_cast<int64_t>(row) * (in.page.height - in.overlap);
            layout.cells.push_back({left + scaled(sx, num, den), y + scaled(sy, num, den),
                                    left + scaled(sx + in.page.width, num, den),
                                    y + scaled(sy + in.page.height, num, den)});
        }
    }
    const int64_t x0 = (grid_w - in.poster.width) / 2;
    const int64_t y0 = (grid_h - in.poster.height) / 2;
    layout.picture = {left + scaled(x0, num, den), y + scaled(y0, num, den), left + scaled(x0 + in.poster.width, num, den),
                      y + scaled(y0 + in.poster.height, num, den)};

    // Names in the middle of each sheet's own part of its cell.
    const int32_t step_h = layout.npages.height > 1 ? layout.cells[layout.npages.width].top - layout.cells[0].top
                                                    : map_h;
    const int32_t name_height = std::min(device_length(most_name_smm, in.dpi_y), step_h / 4);
    if (name_height >= 8) {
        for (int32_t row = 0; row < layout.npages.height; ++row) {
            for (int32_t column = 0; column < layout.npages.width; ++column) {
                owned_image name = render_text_line(sheet_name(column, row), name_height, name_ink, 0xFFFFFF);
                const int_rect& cell = layout.cells[static_cast<size_t>(row) * layout.npages.width + column];
                if (!name || name->width > cell.right - cell.left)
                    continue;
                const int_point at = {(cell.left + cell.right - name->width) / 2,
                                      (cell.top + cell.bottom - name->height) / 2};
                layout.texts.push_back({std::move(name), at});
            }
        }
    }
    return layout;
}

void draw_assembly_band(const assembly_input& in, const assembly_layout& layout, int32_t top, raster_image* band)
{
    const int_point origin = {in.area.left, top};
    image_fill(band, 0xFFFFFF);
    const int_rect& pic = layout.picture;
    const int32_t pic_w = pic.right - pic.left;
    const int32_t pic_h = pic.bottom - pic.top;
    const int32_t crop_w = in.crop.right - in.crop.left;
    const int32_t crop_h = in.crop.bottom - in.crop.top;
    if (in.picture && pic_w > 0 && pic_h > 0) {
        for_pixels(band, origin, pic, [&](uint8_t* p, int32_t x, int32_t y) {
            const int64_t sx = in.crop.left + static_cast<int64_t>(x - pic.left) * crop_w / pic_w;
            const int64_t sy = in.crop.top + static_cast<int64_t>(y - pic.top) * crop_h / pic_h;
            const uint8_t* s = in.picture->pixels + sy * in.picture->stride + sx * 3;
            p[0] = s[0];
            p[1] = s[1];
            p[2] = s[2];
        });
    }
    const int_size n = layout.npages;
    auto cell = [&](int32_t column, int32_t row) { return layout.cells[static_cast<size_t>(row) * n.width + column]; };
    // Glue bands: where neighbouring cells overlap, a little darker.
    auto darken = [](uint8_t* p, int32_t, int32_t) {
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<uint8_t>(p[c] * 3 / 4);
    };
    if (in.overlap > 0) {
        for (int32_t column = 0; column + 1 < n.width; ++column)
            for_pixels(band, origin, {cell(column + 1, 0).left, layout.map.top, cell(column, 0).right, layout.map.bottom},
                       darken);
        for (int32_t row = 0; row + 1 < n.height; ++row)
            for_pixels(band, origin, {layout.map.left, cell(0, row + 1).top, layout.map.right, cell(0, row).bottom},
                       darken);
    }
    // Sheets left out: greyed and lightened.
    for (int32_t row = 0; row < n.height; ++row) {
        for (int32_t column = 0; column < n.width; ++column) {
            if (page_flag(*in.flags, column, row))
                continue;
            for_pixels(band, origin, cell(column, row), [](uint8_t* p, int32_t, int32_t) {
                const int32_t grey = (p[0] * 11 + p[1] * 59 + p[2] * 30) / 100;
                const uint8_t value = static_cast<uint8_t>((grey + 2 * 200) / 3);
                p[0] = p[1] = p[2] = value;
            });
        }
    }
    const int32_t line = device_length(outline_smm, std::min(in.dpi_x, in.dpi_y));
    for (const int_rect& c : layout.cells)
        outline(band, origin, c, line, outline_ink);
    for (const placed_picture& text : layout.texts) {
        const raster_image* image = text.image.get();
        for_pixels(band, origin, {text.at.x, text.at.y, text.at.x + image->width, text.at.y + image->height},
                   [&](uint8_t* p, int32_t x, int32_t y) {
                       const uint8_t* s = image->pixels + static_cast<ptrdiff_t>(y - text.at.y) * image->stride +
                                          static_cast<ptrdiff_t>(x - text.at.x) * 3;
                       p[0] = s[0];
                       p[1] = s[1];
                       p[2] = s[2];
                   });
    }
}
