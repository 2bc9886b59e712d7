// tilora-cli face: one button face, rendered as the buttons render theirs
// and set on a plain background, written as PNG for a look at it.
#include "face/render_face.h"
#include "raster/kit_scoped.h"
#include "tools/cli/args.h"
#include "tools/cli/commands.h"
#include "tools/cli/picture_args.h"
#include "tools/cli/picture_input.h"
#include "tools/cli/png_output.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char face_help[] =
    "usage: tilora-cli face --width W [OPTIONS] OUT.png\n"
    "\n"
    "Renders the face of a button whose plate is W x H pixels (its four corner\n"
    "pixels cut off, as the buttons' plates are), composes it over a plain\n"
    "background with a margin of 8 pixels, and writes it as an RGB PNG. Prints\n"
    "'plate X Y' (where the plate's top-left corner lies in the face) and\n"
    "'face W H'.\n"
    "\n"
    "  --width W          the plate's width (required)\n"
    "  --height H         the plate's height (26)\n"
    "  --hue DEGREES      tint hue (211; the Print button has 344)\n"
    "  --saturation PCT   tint saturation (69; 100 under the pointer)\n"
    "  --brightness PCT   lightness shift before tinting (4)\n"
    "  --background RGB   background colour as six hex digits (F0F0F0)\n"
    "\n"
    "exit status: 0 written, 1 cannot be rendered or written, 2 bad usage\n";

constexpr int32_t margin = 8;

bool parse_int(const char* text, int32_t* value)
{
    const char* end = text + std::strlen(text);
    auto result = std::from_chars(text, end, *value);
    return *text && result.ec == std::errc() && result.ptr == end;
}

bool parse_side(const char* text, int32_t* value) { return parse_int(text, value) && *value > 0; }

bool parse_rgb(const char* text, uint32_t* color)
{
    const char* end = text + std::strlen(text);
    auto result = std::from_chars(text, end, *color, 16);
    return end - text == 6 && result.ec == std::errc() && result.ptr == end;
}

struct face_options {
    int32_t width = 0, height = 26, hue = 211, saturation = 69, brightness = 4;
    uint32_t background = 0xF0F0F0;
    const char* out = nullptr;
};

int face_failure(const char* reason)
{
    std::fprintf(stderr, "tilora-cli face: %s\n", reason);
    return 1;
}

// The plate's mask, the face on a background of its own size plus margin,
// and the file.
int render_to_png(const face_options& options)
{
    scoped_image mask(image_create(PIXEL_GRAY8, options.width, options.height));
    if (!mask.image)
        return face_failure("no memory for the plate");
    image_fill(mask.image, 0xFFFFFFFF);
    for (const int32_t x : {0, options.width - 1})
        for (const int32_t y : {0, options.height - 1})
            image_clear_pixel(mask.image, x, y);
    face_style style;
    style.mask = mask.image;
    style.hue = options.hue;
    style.saturation = options.saturation;
    style.brightness = options.brightness;
    int32_t plate_x = 0, plate_y = 0;
    scoped_image face(render_face(&style, &plate_x, &plate_y));
    if (!face.image)
        return face_failure("the face cannot be rendered at this size");
    scoped_image picture(image_create(PIXEL_BGR24, face.image->width + 2 * margin, face.image->height + 2 * margin));
    if (!picture.image)
        return face_failure("no memory for the picture");
    image_fill(picture.image, 0xFF000000 | options.background);
    raster_image under;
    image_view(&under, margin, margin, picture.image, face.image->width, face.image->height);
    image_compose(face.image, &under);
    std::string reason;
    if (!write_image_png(options.out, picture.image, &reason))
        return report_write_failure(options.out, reason);
    std::printf("plate %d %d\nface %d %d\n", plate_x, plate_y, face.image->width, face.image->height);
    return 0;
}

}  // namespace

int run_face(int argc, char** argv)
{
    face_options options;
    arg_cursor args{argc, argv, 0, {}};
    while (args_left(args)) {
        if (take_flag(args, "--help") || take_flag(args, "-h")) {
            std::fputs(face_help, stdout);
            return 0;
        }
        if (take_parsed(args, "--width", parse_side, &options.width) ||
            take_parsed(args, "--height", parse_side, &options.height) ||
            take_parsed(args, "--hue", parse_int, &options.hue) ||
            take_parsed(args, "--saturation", parse_int, &options.saturation) ||
            take_parsed(args, "--brightness", parse_int, &options.brightness) ||
            take_parsed(args, "--background", parse_rgb, &options.background) || !args.error.empty())
            continue;
        const char* arg = argv[args.index];
        if (arg[0] != '-' && !options.out) {
            options.out = arg;
            args.index += 1;
        } else {
            args.error = std::string("unknown option '") + arg + "'";
        }
    }
    if (!args.error.empty())
        return usage_error("face", args.error.c_str());
    if (options.width == 0)
        return usage_error("face", "--width is required");
    if (!options.out)
        return usage_error("face", "expected an output file");
    return render_to_png(options);
}
