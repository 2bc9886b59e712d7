// The command line's craft options.
#include "tools/cli/craft_options.h"

#include <charconv>
#include <cstring>

#include "poster/sheet_grid.h"
#include "tools/cli/lengths.h"

const char craft_options_help[] =
    "poster craft:\n"
    "  --sheets-wide N      the largest poster N sheets wide (instead of a width)\n"
    "  --sheets-high N      the largest poster N sheets high; with --sheets-wide,\n"
    "                       the largest that fits both\n"
    "  --overlap MM         a glue band of 0 to 30 mm on the inner edges: each\n"
    "                       sheet repeats its neighbour's edge; the poster keeps\n"
    "                       its size and the grid grows when needed\n"
    "  --no-seamless        resample every sheet's part on its own, as the plain\n"
    "                       print job does (default: seamless sheets, one resample\n"
    "                       of the whole crop cut into the sheets' parts)\n"
    "  --labels             sheet names and where the neighbours go, in the paper\n"
    "                       beside the picture\n"
    "  --trim-marks         marks on the inner edges, aligned with the neighbour's\n"
    "  --assembly-sheet     an extra first page with the map of the sheets\n"
    "  --paper-name NAME    the paper's name on the assembly sheet\n"
    "  --inches             lengths on the assembly sheet in inches\n"
    "  --low-ppi N          warn below N picture pixels per inch (default 150)\n"
    "  --very-low-ppi N     warn more strongly below N (default 100)\n";

namespace {

bool parse_count(const char* text, int32_t* value)
{
    const char* end = text + std::strlen(text);
    int32_t parsed = 0;
    auto result = std::from_chars(text, end, parsed);
    if (result.ec != std::errc() || result.ptr != end || parsed <= 0 || parsed > 10000)
        return false;
    *value = parsed;
    return true;
}

bool parse_overlap(const char* text, int32_t* smm)
{
    double length = 0;
    const std::string with_unit = std::string(text) + "mm";
    if (!parse_length(with_unit.c_str(), &length) || length < 0 || length > max_overlap_smm)
        return false;
    *smm = static_cast<int32_t>(length + 0.5);
    return true;
}

}  // namespace

bool take_craft_option(arg_cursor& args, craft_options& options)
{
    poster_craft& craft = options.craft;
    if (take_flag(args, "--no-seamless")) {
        craft.seamless = false;
        return true;
    }
    if (take_flag(args, "--labels"))
        return craft.labels = true;
    if (take_flag(args, "--trim-marks"))
        return craft.trim_marks = true;
    if (take_flag(args, "--assembly-sheet"))
        return craft.assembly_sheet = true;
    if (take_flag(args, "--inches"))
        return options.inches = true;
    const char* name = nullptr;
    if (take_option(args, "--paper-name", &name)) {
        if (name)
            options.paper_name = name;
        return true;
    }
    return take_parsed(args, "--sheets-wide", parse_count, &options.sheets_wide) ||
           take_parsed(args, "--sheets-high", parse_count, &options.sheets_high) ||
           take_parsed(args, "--overlap", parse_overlap, &craft.overlap) ||
           take_parsed(args, "--low-ppi", parse_count, &craft.low_ppi) ||
           take_parsed(args, "--very-low-ppi", parse_count, &craft.very_low_ppi) || !args.error.empty();
}
