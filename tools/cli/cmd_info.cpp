// tilora-cli info: the format the content reveals, and the picture's size
// when the program can read it.
#include "imageio/imageio.h"
#include "tools/cli/commands.h"
#include "tools/cli/picture_args.h"
#include "tools/cli/picture_input.h"

#include <cstdio>

namespace {

const char info_help[] =
    "usage: tilora-cli info [--any-extension] FILE\n"
    "\n"
    "Prints 'format NAME code N' (the format the file's content reveals),\n"
    "then 'width W height H' when the picture can be read as the program reads\n"
    "it. --any-extension skips the file-name extension test.\n"
    "\n"
    "exit status: 0 read, 1 cannot be read, 2 bad usage\n";

const char* format_name(int32_t code)
{
    static const char* const names[] = {
        "unknown", "BMP", "GIF", "JPEG", "PNG", "PCX", "TIFF", "WMF", "EMF", "PAX", "PSD",
        "TLA-protected", "TLA", "WBMP", "TGA", "PCD-overview", "PCD", "JP2", "J2K", "OLE",
    };
    return code >= 0 && code < (int32_t)(sizeof names / sizeof names[0]) ? names[code] : "unknown";
}

}  // namespace

int run_info(int argc, char** argv)
{
    picture_arguments picture;
    const int status = parse_picture_arguments(argc, argv, "info", info_help, 1, &picture);
    if (status >= 0)
        return status;
    const char* file = picture.files[0];

    ISSourceRecord* source = is_open_file_source(file);
    if (!source)
        return report_read_failure(file, is_get_last_error(), is_error_text(is_get_last_error()));
    const int32_t format = is_guess_format(source);
    is_close_source(source);
    std::printf("format %s code %d\n", format_name(format), format);
    std::fflush(stdout);

    raster_image* image = read_picture(file, picture.check_extension);
    if (!image)
        return 1;
    std::printf("width %d height %d\n", image->width, image->height);
    image_free(image);
    return 0;
}
