// tilora-cli decode: a picture file read as the program reads it, written
// as PNG; or, with --depth, read by the library's generic read directly.
#include "loader/format_table.h"
#include "imageio/imageio.h"
#include "tools/cli/commands.h"
#include "tools/cli/picture_args.h"
#include "tools/cli/picture_input.h"
#include "tools/cli/png_output.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char decode_help[] =
    "usage: tilora-cli decode [--any-extension] [--depth 24|32] FILE OUT.png\n"
    "\n"
    "Reads FILE exactly as the program opens a file and writes it as PNG: RGB,\n"
    "or RGBA (colours not premultiplied) when the picture has transparency.\n"
    "\n"
    "  --any-extension  skip the file-name extension test\n"
    "  --depth 24|32    bypass the program's choice of reader by format and\n"
    "                   take the library's generic read at that depth, so that\n"
    "                   formats the program refuses (WBMP, ...) can be read too\n"
    "\n"
    "exit status: 0 written, 1 cannot be read or written, 2 bad usage\n";

bool parse_depth(const char* text, int* depth)
{
    if (!std::strcmp(text, "24") || !std::strcmp(text, "32")) {
        *depth = std::atoi(text);
        return true;
    }
    return false;
}

// The generic read at the given depth, bypassing the loader's roads.
int decode_generic(const char* file, const char* out, int depth, bool check_extension)
{
    if (check_extension && !extension_accepted(file))
        return report_read_failure(file, IS_ERR_CANT_OPEN, "file name extension not accepted");
    ISSourceRecord* source = is_open_file_source(file);
    if (!source)
        return report_read_failure(file, is_get_last_error(), is_error_text(is_get_last_error()));
    uint32_t width = 0, height = 0;
    uint8_t* buffer = depth == 32 ? is_read_generic_rgba32(source, &width, &height)
                                  : is_read_generic_rgb24(source, &width, &height);
    const int32_t error = is_get_last_error();
    is_close_source(source);
    if (!buffer)
        return report_read_failure(file, error, is_error_text(error));
    std::string reason;
    const bool written = write_buffer_png(out, buffer, width, height, depth / 8, &reason);
    is_global_free(buffer);
    return written ? 0 : report_write_failure(out, reason);
}

}  // namespace

int run_decode(int argc, char** argv)
{
    picture_arguments picture;
    int depth = 0;
    const int status = parse_picture_arguments(argc, argv, "decode", decode_help, 2, &picture, [&](arg_cursor& args) {
        return take_parsed(args, "--depth", parse_depth, &depth);
    });
    if (status >= 0)
        return status;
    const char* file = picture.files[0];
    const char* out = picture.files[1];
    if (depth)
        return decode_generic(file, out, depth, picture.check_extension);

    raster_image* image = read_picture(file, picture.check_extension);
    if (!image)
        return 1;
    std::string reason;
    const bool written = write_image_png(out, image, &reason);
    image_free(image);
    return written ? 0 : report_write_failure(out, reason);
}
