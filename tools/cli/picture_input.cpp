#include "tools/cli/picture_input.h"

#include "loader/load_picture.h"

#include <cstdio>

int report_read_failure(const char* file, int32_t code, const char* reason)
{
    std::fprintf(stderr, "tilora-cli: cannot read %s: %s (code %d)\n", file, reason, code);
    return 1;
}

int report_write_failure(const char* file, const std::string& reason)
{
    std::fprintf(stderr, "tilora-cli: cannot write %s: %s\n", file, reason.c_str());
    return 1;
}

raster_image* read_picture(const char* file, bool check_extension)
{
    load_failure failure;
    raster_image* image = load_picture(file, check_extension, &failure);
    if (!image)
        report_read_failure(file, failure.code, failure.reason);
    return image;
}

raster_image* as_bgr24(raster_image* image)
{
    if (image->type == PIXEL_BGR24)
        return image;
    raster_image* converted = image_create(PIXEL_BGR24, image->width, image->height);
    if (converted && !image_convert(converted, image)) {
        image_free(converted);
        converted = nullptr;
    }
    image_free(image);
    return converted;
}
