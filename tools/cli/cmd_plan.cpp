// tilora-cli plan: the page layout of a poster, page by page, as the print
// job would cut it, and optionally the preview's geometry.
#include "poster/geometry.h"
#include "poster/poster_document.h"
#include "poster/poster_size.h"
#include "poster/print_job.h"
#include "tools/cli/args.h"
#include "tools/cli/commands.h"
#include "tools/cli/craft_options.h"
#include "tools/cli/lengths.h"
#include "tools/cli/picture_input.h"
#include "tools/cli/plan_output.h"
#include "tools/cli/printer_options.h"

#include <cstdio>
#include <optional>

namespace {

const char plan_help[] =
    "usage: tilora-cli plan (--image WxH | FILE) (--width LEN | --height LEN | both) [OPTIONS]\n"
    "\n"
    "Prints the layout of a poster: the tile of one sheet, the page grid and,\n"
    "for every page in printing order, the part of the picture it carries.\n"
    "\n"
    "poster:\n"
    "  --image WxH          the crop of the picture, in pixels\n"
    "  FILE                 a picture file instead: its size is the crop\n"
    "  --width LEN          poster width, e.g. 90cm, 35in, 640mm; alone, the\n"
    "  --height LEN         height follows the crop's aspect (and the reverse)\n"
    "  --preview WxH        add the preview geometry for this client size\n"
    "  --crop-band L,T,R,B  a crop band drawn over that preview's picture, in\n"
    "                       preview pixels: the plan is made for the crop it\n"
    "                       gives, as the program crops (the poster keeps the\n"
    "                       length of the crop's longer side, the other side\n"
    "                       follows); needs --preview\n"
    "\n"
    "%s"
    "\n"
    "%s"
    "\n"
    "output, one record a line (lengths in smm, positions in pixels):\n"
    "  [crop L T R B /] tile W H / print_rect L T R B / page_margin L T R B /\n"
    "  paper W H /\n"
    "  poster W H / npages C R / [overlap O /] resolution PPI_X PPI_Y /\n"
    "  [resolution_warning low|very_low largest W H /]\n"
    "  page C R image L T R B device L T R B ... /\n"
    "  preview cell W H origin X Y picture L T R B\n"
    "  (with seamless sheets the device rectangles are the sheets' parts of the\n"
    "  poster measured at the printer's resolution and centred on the sheets)\n"
    "\n"
    "exit status: 0 done, 1 layout refused or picture unreadable, 2 bad usage\n";

struct plan_options {
    std::optional<int_size> crop;
    const char* picture = nullptr;  // a picture file whose size is the crop
    std::optional<double> width;   // smm
    std::optional<double> height;  // smm
    std::optional<int_size> preview;
    std::optional<int_rect> crop_band;
    printer_options printer;
    craft_options craft;
};

int usage_error(const char* message)
{
    std::fprintf(stderr, "tilora-cli plan: %s (try --help)\n", message);
    return 2;
}

int refused(const char* message)
{
    std::fprintf(stderr, "tilora-cli plan: layout refused: %s\n", message);
    return 1;
}

bool take_plan_option(arg_cursor& args, plan_options& options)
{
    // A missing value leaves only the recorded error behind.
    return take_parsed(args, "--image", parse_int_size, &options.crop) ||
           take_parsed(args, "--preview", parse_int_size, &options.preview) ||
           take_parsed(args, "--crop-band", parse_pixel_rect, &options.crop_band) ||
           take_parsed(args, "--width", parse_length, &options.width) ||
           take_parsed(args, "--height", parse_length, &options.height) || !args.error.empty();
}

}  // namespace

int run_plan(int argc, char** argv)
{
    plan_options options;
    arg_cursor args{argc, argv, 0, {}};
    while (args_left(args)) {
        if (take_flag(args, "--help") || take_flag(args, "-h")) {
            std::printf(plan_help, printer_options_help, craft_options_help);
            return 0;
        }
        if (take_plan_option(args, options) || take_printer_option(args, options.printer) ||
            take_craft_option(args, options.craft))
            continue;
        const char* arg = argv[args.index];
        if (arg[0] != '-' && !options.picture) {
            options.picture = arg;
            args.index += 1;
        } else {
            args.error = std::string("unknown option '") + arg + "'";
        }
    }
    if (!args.error.empty())
        return usage_error(args.error.c_str());
    if (options.crop && options.picture)
        return usage_error("give --image or a picture file, not both");
    if (!options.crop && !options.picture)
        return usage_error("--image or a picture file is required");
    const bool by_sheets = options.craft.sheets_wide > 0 || options.craft.sheets_high > 0;
    if (!options.width && !options.height && !by_sheets)
        return usage_error("--width, --height, --sheets-wide or --sheets-high is required");
    if ((options.width || options.height) && by_sheets)
        return usage_error("give the poster's size or its sheets, not both");
    if (const char* conflict = printer_options_conflict(options.printer))
        return usage_error(conflict);
    if (options.picture) {
        raster_image* image = read_picture(options.picture, true);
        if (!image)
            return 1;
        options.crop = int_size{image->width, image->height};
        image_free(image);
    }

    if (options.crop_band && !options.preview)
        return usage_error("--crop-band needs --preview");

    poster_plan plan;
    if (const char* refusal =
            make_poster_plan(options.printer, options.width, options.height, options.craft, *options.crop, &plan))
        return refused(refusal);
    int_rect crop = {0, 0, options.crop->width, options.crop->height};
    if (options.crop_band) {
        // The band over the whole picture's preview becomes the crop; the
        // poster keeps the length of the crop's longer side.
        preview_geometry preview;
        preview_layout(*options.preview, plan.poster, plan.area.print_size, &preview);
        if (!crop_from_band(*options.crop_band, preview.picture_rect, crop, &crop))
            return refused("the crop band has no area");
        const int_size size = {crop.right - crop.left, crop.bottom - crop.top};
        const bool keep_width = size.width > size.height;
        const std::optional<double> width = keep_width ? std::optional<double>(plan.poster.width) : std::nullopt;
        const std::optional<double> height = keep_width ? std::nullopt : std::optional<double>(plan.poster.height);
        craft_options sized = options.craft;
        sized.sheets_wide = sized.sheets_high = 0;
        if (const char* refusal = make_poster_plan(options.printer, width, height, sized, size, &plan))
            return refused(refusal);
        std::printf("crop ");
        print_rect_fields(crop);
        std::printf("\n");
        crop = {0, 0, size.width, size.height};
    }
    print_plan_head(plan);
    const sheet_frame frame = plan_sheet_frame(plan, printer_device_caps(options.printer).dpi_x);
    grid_position page = {0, 0};
    do {
        page_rects rects;
        sheet_rects_for(frame, crop, page.column, page.row, &rects);
        print_plan_page(page, rects);
    } while (next_grid_position(page, plan.npages, !options.printer.landscape));

    if (options.preview) {
        preview_geometry preview;
        preview_layout(*options.preview, plan.poster, plan.area.print_size, &preview);
        std::printf("preview cell %d %d origin %d %d picture ", preview.cell.width, preview.cell.height,
                    preview.grid_origin.x, preview.grid_origin.y);
        print_rect_fields(preview.picture_rect);
        std::printf("\n");
    }
    return 0;
}
