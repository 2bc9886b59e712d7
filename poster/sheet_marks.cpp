// Sheet names, labels and trim marks.
#include "poster/sheet_marks.h"

#include <algorithm>
#include <cstdlib>

#include "poster/sheet_text.h"

namespace {

int32_t device_length(int32_t smm, int32_t dpi)
{
    return std::max(1, mul_div64(smm, dpi, smm_per_inch));
}

bool empty(const int_rect& r)
{
    return r.left >= r.right || r.top >= r.bottom;
}

int_rect clipped(const int_rect& r, int_size area)
{
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, area.width), std::min(r.bottom, area.height)};
}

bool overlaps(const int_rect& a, const int_rect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool horizontal(sheet_side side)
{
    return side == sheet_side::top || side == sheet_side::bottom;
}

// The box of a label of size (along, across) in the strip beside side, at
// position `at` along the strip; empty when the strip is too thin.
int_rect strip_box(const sheet_context& s, sheet_side side, int32_t at, int32_t along, int32_t across, int32_t gap)
{
    const int_rect& p = s.part;
    switch (side) {
    case sheet_side::top:
        return p.top - gap - across < 0 ? int_rect{} : int_rect{at, p.top - gap - across, at + along, p.top - gap};
    case sheet_side::bottom:
        return p.bottom + gap + across > s.printable.height
                   ? int_rect{}
                   : int_rect{at, p.bottom + gap, at + along, p.bottom + gap + across};
    case sheet_side::left:
        return p.left - gap - across < 0 ? int_rect{} : int_rect{p.left - gap - across, at, p.left - gap, at + along};
    case sheet_side::right:
        return p.right + gap + across > s.printable.width
                   ? int_rect{}
                   : int_rect{p.right + gap, at, p.right + gap + across, at + along};
    }
    return {};
}

// The free place nearest the middle of the side for a label along the
// strip, clear of the obstacles by gap; nullopt when there is none.
std::optional<int_rect> free_place(const sheet_context& s, sheet_side side, int_size size,
                                   const std::vector<int_rect>& obstacles, int32_t gap)
{
    const bool across_x = horizontal(side);
    const int32_t along = size.width;
    const int32_t across = size.height;
    const int32_t strip_end = across_x ? s.printable.width : s.printable.height;
    if (along > strip_end)
        return std::nullopt;
    const int32_t middle = across_x ? (s.part.left + s.part.right) / 2 : (s.part.top + s.part.bottom) / 2;
    std::vector<int32_t> candidates = {std::clamp(middle - along / 2, 0, strip_end - along)};
    for (const int_rect& o : obstacles) {
        candidates.push_back((across_x ? o.left : o.top) - gap - along);
        candidates.push_back((across_x ? o.right : o.bottom) + gap);
    }
    std::optional<int_rect> best;
    int64_t best_distance = 0;
    for (int32_t at : candidates) {
        if (at < 0 || at > strip_end - along)
            continue;
        const int_rect box = strip_box(s, side, at, along, across, gap);
        if (empty(box))
            return std::nullopt;
        int_rect padded = {box.left - gap, box.top - gap, box.right + gap, box.bottom + gap};
        if (std::any_of(obstacles.begin(), obstacles.end(), [&](const int_rect& o) { return overlaps(padded, o); }))
            continue;
        const int64_t distance = std::llabs(static_cast<int64_t>(at) + along / 2 - middle);
        if (!best || distance < best_distance) {
            best = box;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace

std::string sheet_name(int32_t column, int32_t row)
{
    std::string letters;
    for (int64_t n = static_cast<int64_t>(column) + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters + std::to_string(static_cast<int64_t>(row) + 1);
}

std::vector<int_rect> trim_mark_rects(const sheet_context& s)
{
    const int_rect& p = s.part;
    const int32_t gap_x = device_length(sheet_mark_gap_smm, s.dpi_x);
    const int32_t gap_y = device_length(sheet_mark_gap_smm, s.dpi_y);
    const int32_t length_x = device_length(trim_mark_length_smm, s.dpi_x);
    const int32_t length_y = device_length(trim_mark_length_smm, s.dpi_y);
    const int32_t width_x = device_length(trim_mark_width_smm, s.dpi_x);
    const int32_t width_y = device_length(trim_mark_width_smm, s.dpi_y);
    std::vector<int_rect> lines;  // the marked lines, one bar wide, the part's height or width long
    if (s.column > 0) {
        const int32_t x = p.left + s.band_du.width;
        lines.push_back({x, p.top, x + width_x, p.bottom});
    }
    if (s.column < s.npages.width - 1)
        lines.push_back({p.right - width_x, p.top, p.right, p.bottom});
    std::vector<int_rect> marks;
    for (const int_rect& line : lines) {
        marks.push_back({line.left, p.top - gap_y - length_y, line.right, p.top - gap_y});
        marks.push_back({line.left, p.bottom + gap_y, line.right, p.bottom + gap_y + length_y});
    }
    lines.clear();
    if (s.row > 0) {
        const int32_t y = p.top + s.band_du.height;
        lines.push_back({p.left, y, p.right, y + width_y});
    }
    if (s.row < s.npages.height - 1)
        lines.push_back({p.left, p.bottom - width_y, p.right, p.bottom});
    for (const int_rect& line : lines) {
        marks.push_back({p.left - gap_x - length_x, line.top, p.left - gap_x, line.bottom});
        marks.push_back({p.right + gap_x, line.top, p.right + gap_x + length_x, line.bottom});
    }
    std::vector<int_rect> kept;
    for (const int_rect& mark : marks) {
        const int_rect c = clipped(mark, s.printable);
        if (!empty(c))
            kept.push_back(c);
    }
    return kept;
}

std::vector<label_text> sheet_label_texts(const sheet_context& s)
{
    std::vector<label_text> labels = {{sheet_name(s.column, s.row), sheet_side::top, true}};
    if (s.band_du.height > 0 && s.row > 0)
        labels.push_back({"glue under " + sheet_name(s.column, s.row - 1), sheet_side::top, false});
    if (s.band_du.width > 0 && s.column > 0)
        labels.push_back({"glue under " + sheet_name(s.column - 1, s.row), sheet_side::left, false});
    if (s.band_du.width > 0 && s.column < s.npages.width - 1)
        labels.push_back({sheet_name(s.column + 1, s.row) + " glues under", sheet_side::right, false});
    if (s.band_du.height > 0 && s.row < s.npages.height - 1)
        labels.push_back({sheet_name(s.column, s.row + 1) + " glues under", sheet_side::bottom, false});
    return labels;
}

std::vector<std::optional<label_place>> place_sheet_labels(const sheet_context& s, const std::vector<label_text>& labels,
                                                        const std::vector<int_size>& sizes,
                                                        const std::vector<int_rect>& marks)
{
    const int32_t gap = device_length(sheet_mark_gap_smm, std::min(s.dpi_x, s.dpi_y));
    std::vector<int_rect> obstacles = marks;
    obstacles.push_back(s.part);
    std::vector<std::optional<label_place>> places;
    for (size_t i = 0; i < labels.size() && i < sizes.size(); ++i) {
        std::vector<sheet_side> sides = {labels[i].side};
        if (labels[i].is_name)
            sides = {sheet_side::top, sheet_side::bottom, sheet_side::left, sheet_side::right};
        std::optional<label_place> place;
        for (sheet_side side : sides) {
            if (std::optional<int_rect> box = free_place(s, side, sizes[i], obstacles, gap)) {
                place = label_place{*box, side};
                obstacles.push_back(*box);
                break;
            }
        }
        places.push_back(place);
    }
    return places;
}

std::vector<placed_picture> sheet_decorations(const sheet_context& s, bool labels, bool trim_marks)
{
    std::vector<placed_picture> pictures;
    std::vector<int_rect> marks;
    if (trim_marks)
        marks = trim_mark_rects(s);
    for (const int_rect& mark : marks) {
        owned_image bar(image_create(PIXEL_BGR24, mark.right - mark.left, mark.bottom - mark.top));
        if (!bar)
            continue;
        image_fill(bar.get(), trim_mark_ink);
        pictures.push_back({std::move(bar), {mark.left, mark.top}});
    }
    if (!labels)
        return pictures;
    const std::vector<label_text> texts = sheet_label_texts(s);
    const int32_t height = device_length(label_text_smm, std::min(s.dpi_x, s.dpi_y));
    std::vector<owned_image> lines;
    std::vector<int_size> sizes;
    for (const label_text& text : texts) {
        lines.push_back(render_text_line(text.text, height, label_ink, 0xFFFFFF));
        sizes.push_back(lines.back() ? int_size{lines.back()->width, lines.back()->height} : int_size{1 << 30, 1 << 30});
    }
    const std::vector<std::optional<label_place>> places = place_sheet_labels(s, texts, sizes, marks);
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!places[i] || !lines[i])
            continue;
        const label_place& place = *places[i];
        owned_image image = std::move(lines[i]);
        // A label beside the left edge reads upwards, one beside the right
        // edge downwards, both with their foot towards the picture.
        if (!horizontal(place.side))
            image = turn_quarter(image.get(), place.side == sheet_side::right);
        if (image)
            pictures.push_back({std::move(image), {place.box.left, place.box.top}});
    }
    return pictures;
}
