// tilora-cli plan: the page layout of a poster, page by page, as the print
// job would cut it, and optionally the preview's geometry.
#include "poster/geometry.h"
#include "poster/poster_size.h"
#include "tools/cli/args.h"
#include "tools/cli/commands.h"
#include "tools/cli/lengths.h"
#include "tools/cli/picture_input.h"
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
    "\n"
    "%s"
    "\n"
    "output, one record a line (lengths in smm, positions in pixels):\n"
    "  tile W H / print_rect L T R B / page_margin L T R B / paper W H /\n"
    "  poster W H / npages C R / page C R image L T R B device L T R B ... /\n"
    "  preview cell W H origin X Y picture L T R B\n"
    "\n"
    "exit status: 0 done, 1 layout refused or picture unreadable, 2 bad usage\n";

struct plan_options {
    std::optional<int_size> crop;
    const char* picture = nullptr;  // a picture file whose size is the crop
    std::optional<double> width;   // smm
    std::optional<double> height;  // smm
    std::optional<int_size> preview;
    printer_options printer;
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
           take_parsed(args, "--width", parse_length, &options.width) ||
           take_parsed(args, "--height", parse_length, &options.height) || !args.error.empty();
}

bool poster_size(const plan_options& options, smm_size* poster)
{
    if (options.width && options.height)
        return poster_from_sides(*options.width, *options.height, poster);
    if (options.width)
        return poster_from_side(poster_side::width, *options.width, *options.crop, poster);
    return poster_from_side(poster_side::height, *options.height, *options.crop, poster);
}

void print_rect_fields(const int_rect& r)
{
    std::printf("%d %d %d %d", r.left, r.top, r.right, r.bottom);
}

void print_record(const char* name, const int_rect& r)
{
    std::printf("%s ", name);
    print_rect_fields(r);
    std::printf("\n");
}

void print_page(smm_size poster, const print_area& area, int_size crop, int32_t column, int32_t row)
{
    const int_rect& pr = area.print_rect;
    const int_size page_du = {pr.right - pr.left, pr.bottom - pr.top};
    page_piece_rects piece;
    page_piece(poster, area.print_size, page_du, crop, column, row, &piece);
    // The device rectangle is absolute on the sheet, as the print job sends it.
    int_rect device = piece.page_rect;
    device.left += pr.left;
    device.right += pr.left;
    device.top += pr.top;
    device.bottom += pr.top;
    std::printf("page %d %d image ", column, row);
    print_rect_fields(piece.image_rect);
    std::printf(" device ");
    print_rect_fields(device);
    std::printf("\n");
}

}  // namespace

int run_plan(int argc, char** argv)
{
    plan_options options;
    arg_cursor args{argc, argv, 0, {}};
    while (args_left(args)) {
        if (take_flag(args, "--help") || take_flag(args, "-h")) {
            std::printf(plan_help, printer_options_help);
            return 0;
        }
        if (take_plan_option(args, options) || take_printer_option(args, options.printer))
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
    if (!options.width && !options.height)
        return usage_error("--width or --height is required");
    if (const char* conflict = printer_options_conflict(options.printer))
        return usage_error(conflict);
    if (options.picture) {
        raster_image* image = read_picture(options.picture, true);
        if (!image)
            return 1;
        options.crop = int_size{image->width, image->height};
        image_free(image);
    }

    smm_size poster;
    if (!poster_size(options, &poster))
        return refused("each side of the poster must lie between 1 and 10000000 smm (100 m)");
    const std::optional<print_area> area = printer_print_area(options.printer);
    if (!area)
        return refused("the printer's measurements are out of range");
    const int_size crop = *options.crop;
    const layout_refusal refusal = check_layout(poster, area->print_size, crop);
    if (refusal != layout_refusal::none)
        return refused(layout_refusal_text(refusal));
    const int_rect& pr = area->print_rect;
    if (pr.right <= pr.left || pr.bottom <= pr.top)
        return refused("the printable tile has no device pixels");

    const int_size npages = pages_needed(poster, area->print_size);
    std::printf("tile %d %d\n", area->print_size.width, area->print_size.height);
    print_record("print_rect", pr);
    print_record("page_margin", area->page_margin);
    std::printf("paper %d %d\n", area->paper.width, area->paper.height);
    std::printf("poster %d %d\n", poster.width, poster.height);
    std::printf("npages %d %d\n", npages.width, npages.height);
    // Portrait jobs run down each column, landscape jobs across each row.
    const bool across_rows = options.printer.landscape;
    const int32_t outer = across_rows ? npages.height : npages.width;
    const int32_t inner = across_rows ? npages.width : npages.height;
    for (int32_t o = 0; o < outer; ++o)
        for (int32_t i = 0; i < inner; ++i)
            print_page(poster, *area, crop, across_rows ? i : o, across_rows ? o : i);

    if (options.preview) {
        preview_geometry preview;
        preview_layout(*options.preview, poster, area->print_size, &preview);
        std::printf("preview cell %d %d origin %d %d picture ", preview.cell.width, preview.cell.height,
                    preview.grid_origin.x, preview.grid_origin.y);
        print_rect_fields(preview.picture_rect);
        std::printf("\n");
    }
    return 0;
}
