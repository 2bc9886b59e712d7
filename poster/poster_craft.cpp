// The craft settings' ranges, the resolution meter and sizing by sheets.
#include "poster/poster_craft.h"

#include <algorithm>
#include <cstdio>

#include "poster/poster_size.h"
#include "poster/sheet_grid.h"

poster_craft checked_craft(const poster_craft& craft)
{
    poster_craft checked = craft;
    checked.overlap = std::clamp(craft.overlap, 0, max_overlap_smm);
    checked.low_ppi = std::clamp(craft.low_ppi, 1, 10000);
    checked.very_low_ppi = std::clamp(craft.very_low_ppi, 1, checked.low_ppi);
    return checked;
}

std::optional<resolution_report> poster_resolution(int_size crop, smm_size poster, int32_t low_ppi,
                                                   int32_t very_low_ppi)
{
    if (crop.width <= 0 || crop.height <= 0 || poster.width <= 0 || poster.height <= 0 || low_ppi <= 0)
        return std::nullopt;
    resolution_report report;
    report.ppi_x = static_cast<double>(crop.width) * smm_per_inch / poster.width;
    report.ppi_y = static_cast<double>(crop.height) * smm_per_inch / poster.height;
    // Compared exactly in whole numbers: pixels * 2540 against ppi * smm.
    auto below = [&](int32_t ppi) {
        return static_cast<int64_t>(crop.width) * smm_per_inch < static_cast<int64_t>(ppi) * poster.width ||
               static_cast<int64_t>(crop.height) * smm_per_inch < static_cast<int64_t>(ppi) * poster.height;
    };
    report.level = below(very_low_ppi) ? resolution_level::very_low
                   : below(low_ppi)    ? resolution_level::low
                                       : resolution_level::good;
    // The largest size keeping low_ppi: each side at most pixels / ppi inches,
    // the other following the crop's aspect; the tighter side decides.
    const int64_t width_limit = static_cast<int64_t>(crop.width) * smm_per_inch / low_ppi;
    const int64_t height_limit = static_cast<int64_t>(crop.height) * smm_per_inch / low_ppi;
    const int64_t height_of_width = width_limit * crop.height / crop.width;
    report.largest = height_of_width <= height_limit
                         ? smm_size{static_cast<int32_t>(std::min<int64_t>(width_limit, INT32_MAX)),
                                    static_cast<int32_t>(std::min<int64_t>(height_of_width, INT32_MAX))}
                         : smm_size{static_cast<int32_t>(std::min<int64_t>(height_limit * crop.width / crop.height, INT32_MAX)),
                                    static_cast<int32_t>(std::min<int64_t>(height_limit, INT32_MAX))};
    return report;
}

const char* resolution_level_word(resolution_level level)
{
    switch (level) {
    case resolution_level::good:
        return "";
    case resolution_level::low:
        return "low";
    case resolution_level::very_low:
        return "very low";
    }
    return "";
}

std::optional<smm_size> poster_for_sheets(int32_t across, int32_t down, smm_size page, int32_t overlap, int_size crop)
{
    if ((across <= 0 && down <= 0) || across < 0 || down < 0 || page.width <= 0 || page.height <= 0 ||
        overlap < 0 || overlap >= page.width || overlap >= page.height)
        return std::nullopt;
    std::optional<smm_size> best;
    auto consider = [&](poster_side side, int64_t length) {
        smm_size poster{};
        if (length <= 0 || length >= static_cast<int64_t>(poster_side_max) ||
            !poster_from_side(side, static_cast<double>(length), crop, &poster))
            return;
        const int_size n = sheets_needed(poster, page, overlap);
        if ((across > 0 && n.width > across) || (down > 0 && n.height > down))
            return;
        if (!best || poster.width > best->width)
            best = poster;
    };
    // The largest poster fills the row of sheets on one of the given axes;
    // of the candidates that fit the other axis too, the larger wins.
    if (across > 0)
        consider(poster_side::width, sheet_row_length(across, page.width, overlap));
    if (down > 0)
        consider(poster_side::height, sheet_row_length(down, page.height, overlap));
    return best;
}

std::string resolution_short_text(const resolution_report& report)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f ppi", std::min(report.ppi_x, report.ppi_y));
    std::string line = text;
    if (report.level != resolution_level::good)
        line += std::string(" (") + resolution_level_word(report.level) + ")";
    return line;
}

std::string resolution_long_text(const resolution_report& report, bool metric, int32_t low_ppi)
{
    const double unit = metric ? smm_per_cm : smm_per_inch;
    char text[160];
    std::snprintf(text, sizeof text, "%.0f x %.0f ppi at this size%s; up to %.2f x %.2f %s keeps %d ppi.",
                  report.ppi_x, report.ppi_y,
                  report.level == resolution_level::good ? "" : report.level == resolution_level::low ? " (low)"
                                                                                                        : " (very low)",
                  report.largest.width / unit, report.largest.height / unit, metric ? "cm" : "in",
                  static_cast<int>(low_ppi));
    return text;
}
