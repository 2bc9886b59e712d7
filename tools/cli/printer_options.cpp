// The command line's printer: options, simulation and measurement.
#include "tools/cli/printer_options.h"
#include "tools/cli/lengths.h"

#include <charconv>
#include <cstring>
#include <utility>

// Beyond this the simulated sheet's device pixels could leave 32 bits.
constexpr int32_t max_dpi = 100000;

const char printer_options_help[] =
    "printer:\n"
    "  --paper NAME         A3, A4, A5, Letter, Legal, Tabloid or WxHmm (default A4)\n"
    "  --landscape          swap the paper's sides; pages print across each row;\n"
    "                       the printer reports the same offsets as in portrait,\n"
    "                       which the job exchanges (swap 1 in the log)\n"
    "  --dpi N              resolution on both axes (default 600)\n"
    "  --unprintable L,T,R,B  strips the printer cannot reach, in mm (default 0,0,0,0)\n"
    "  --margins L,T,R,B    margins from the paper edge, in mm (default 5,5,20,20)\n"
    "  --tile WxH           use this tile in smm instead of measuring a printer ...\n"
    "  --device-tile WxH    ... with this size in device pixels (both or neither)\n";

namespace {

bool parse_dpi(const char* text, int32_t* dpi)
{
    const char* end = text + std::strlen(text);
    int32_t value = 0;
    auto result = std::from_chars(text, end, value);
    if (result.ec != std::errc() || result.ptr != end || value <= 0 || value > max_dpi)
        return false;
    *dpi = value;
    return true;
}

bool parse_tile(const char* text, smm_size* tile)
{
    int_size size;
    if (!parse_int_size(text, &size) || size.width >= cli_length_limit || size.height >= cli_length_limit)
        return false;
    *tile = size;
    return true;
}

}  // namespace

bool take_printer_option(arg_cursor& args, printer_options& options)
{
    if (take_flag(args, "--landscape")) {
        options.landscape = true;
        return true;
    }
    // A missing value leaves only the recorded error behind.
    return take_parsed(args, "--paper", parse_paper, &options.paper) ||
           take_parsed(args, "--dpi", parse_dpi, &options.dpi) ||
           take_parsed(args, "--unprintable", parse_mm_rect, &options.unprintable) ||
           take_parsed(args, "--margins", parse_mm_rect, &options.margins) ||
           take_parsed(args, "--tile", parse_tile, &options.tile) ||
           take_parsed(args, "--device-tile", parse_int_size, &options.device_tile) || !args.error.empty();
}

const char* printer_options_conflict(const printer_options& options)
{
    if (options.tile.has_value() != options.device_tile.has_value())
        return "--tile and --device-tile go together";
    return nullptr;
}

device_caps simulate_device_caps(const printer_options& options)
{
    auto px = [&](int32_t smm) { return static_cast<int32_t>(static_cast<int64_t>(smm) * options.dpi / smm_per_inch); };
    smm_size paper = options.paper;
    if (options.landscape)
        std::swap(paper.width, paper.height);
    const smm_rect& strip = options.unprintable;
    device_caps caps;
    caps.dpi_x = options.dpi;
    caps.dpi_y = options.dpi;
    caps.physical_width = px(paper.width);
    caps.physical_height = px(paper.height);
    caps.physical_offset_x = px(strip.left);
    caps.physical_offset_y = px(strip.top);
    caps.horz_res = caps.physical_width - px(strip.left) - px(strip.right);
    caps.vert_res = caps.physical_height - px(strip.top) - px(strip.bottom);
    return caps;
}

device_caps printer_device_caps(const printer_options& options)
{
    if (!options.tile)
        return simulate_device_caps(options);
    const int_size tile = *options.device_tile;
    return {options.dpi, options.dpi, tile.width, tile.height, tile.width, tile.height, 0, 0};
}

bool printer_offsets_swapped(const printer_options& options)
{
    return !options.tile && options.landscape;
}

std::optional<print_area> printer_print_area(const printer_options& options)
{
    if (!options.tile)
        return measure_print_area(simulate_device_caps(options), printer_offsets_swapped(options), &options.margins);
    const smm_size tile = *options.tile;
    const smm_rect& m = options.margins;
    print_area area;
    area.print_size = tile;
    area.print_rect = {0, 0, options.device_tile->width, options.device_tile->height};
    area.page_margin = m;
    area.unprintable = {0, 0, 0, 0};
    area.paper = {m.left + m.right + tile.width, m.top + m.bottom + tile.height};
    return area;
}
