// tilora-cli resize: a picture read as the program reads it, scaled with the
// print job's filter or the preview's nearest-neighbour copy, written as PNG.
#include "raster/resize.h"
#include "tools/cli/commands.h"
#include "tools/cli/lengths.h"
#include "tools/cli/picture_args.h"
#include "tools/cli/picture_input.h"
#include "tools/cli/png_output.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

const char resize_help[] =
    "usage: tilora-cli resize [--any-extension] IN OUT.png --size WxH [--method lanczos3|nearest] [--time]\n"
    "\n"
    "Reads IN as the program reads a picture (a picture with transparency is\n"
    "first made 24-bit, as the program does), scales it to exactly W x H\n"
    "pixels and writes it as an RGB PNG.\n"
    "\n"
    "  --size WxH          the size of the result, in pixels\n"
    "  --method NAME       lanczos3 (the print job's filter, the default) or\n"
    "                      nearest (the preview's copy)\n"
    "  --time              print the resize's own time in milliseconds, the\n"
    "                      number alone, on standard output\n"
    "  --any-extension     skip the file-name extension test\n"
    "\n"
    "exit status: 0 written, 1 cannot be read, resized or written, 2 bad usage\n";

bool parse_method(const char* text, int* method)
{
    if (!std::strcmp(text, "lanczos3"))
        *method = RESIZE_LANCZOS3;
    else if (!std::strcmp(text, "nearest"))
        *method = RESIZE_NEAREST;
    else
        return false;
    return true;
}

int resize_failure(const char* file, const char* reason)
{
    std::fprintf(stderr, "tilora-cli: cannot resize %s: %s\n", file, reason);
    return 1;
}

}  // namespace

int run_resize(int argc, char** argv)
{
    picture_arguments picture;
    std::optional<int_size> size;
    int method = RESIZE_LANCZOS3;
    bool timed = false;
    const int status = parse_picture_arguments(argc, argv, "resize", resize_help, 2, &picture, [&](arg_cursor& args) {
        if (take_flag(args, "--time")) {
            timed = true;
            return true;
        }
        return take_parsed(args, "--size", parse_int_size, &size) ||
               take_parsed(args, "--method", parse_method, &method);
    });
    if (status >= 0)
        return status;
    if (!size)
        return usage_error("resize", "--size is required");
    const char* file = picture.files[0];
    const char* out = picture.files[1];

    raster_image* loaded = read_picture(file, picture.check_extension);
    if (!loaded)
        return 1;
    raster_image* source = as_bgr24(loaded);
    if (!source)
        return resize_failure(file, "no memory for the 24-bit picture");
    raster_image* result = image_create(PIXEL_BGR24, size->width, size->height);
    if (!result) {
        image_free(source);
        return resize_failure(file, "no memory for the result");
    }
    const auto start = std::chrono::steady_clock::now();
    const bool resized = image_resize(nullptr, source, result, method);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    image_free(source);
    if (!resized) {
        image_free(result);
        return resize_failure(file, "out of memory while resizing");
    }
    std::string reason;
    const bool written = write_image_png(out, result, &reason);
    image_free(result);
    if (!written)
        return report_write_failure(out, reason);
    if (timed)
        std::printf("%.3f\n", elapsed.count());
    return 0;
}
