#include "loader/load_picture.h"

#include "loader/format_table.h"
#include "loader/picture_copy.h"
#include "loader/picture_roads.h"
#include "imageio/imageio.h"
#include "imageio/readers/exif.h"

namespace {

// The reason given for a format code the program refuses.
load_failure refusal_of(int32_t format_code)
{
    switch (format_code) {
    case IS_FORMAT_PAX:
        return {IS_ERR_NO_READER, "PAX files are not supported"};
    case IS_FORMAT_TLA_PROTECTED:
        return {IS_ERR_PROTECTED_TLA, "password-protected TLA files are not supported"};
    case IS_FORMAT_TLA:
        return {IS_ERR_NO_READER, "TLA files are not supported"};
    case IS_FORMAT_WBMP:
        return {IS_ERR_NO_READER, "WBMP files are not supported"};
    case IS_FORMAT_OLE:
        return {IS_ERR_NO_READER, "OLE compound documents are not supported"};
    default:
        return {IS_ERR_CANT_OPEN, "unrecognised picture format"};
    }
}

road_result take_road(ISSourceRecord* source, const char* path, int32_t format_code)
{
    switch (road_for_format(format_code)) {
    case picture_road::generic_rgb24:
        return read_generic_road(source, 24);
    case picture_road::generic_rgba32:
        return read_generic_road(source, 32);
    case picture_road::photo_cd:
        return read_photo_cd_road(source);
    case picture_road::jpeg2000:
        return read_jpeg2000_road(source);
    case picture_road::metafile:
        return render_metafile_road(path);
    case picture_road::refused:
    default:
        break;
    }
    const load_failure refusal = refusal_of(format_code);
    road_result refused;
    refused.error = refusal.code;
    refused.reason = refusal.reason;
    return refused;
}

// Opens the file, detects its format and takes the format's road.
road_result read_file(const char* path)
{
    ISSourceRecord* source = is_open_file_source(path);
    if (!source)
        return delivered(nullptr, 0, 0, 3);
    road_result road;
    const int32_t format_code = is_guess_format(source);
    if (is_seek(source, 0, 0)) {
        road = take_road(source, path, format_code);
        // Camera pictures say how they were held; the raw read leaves them
        // as stored.
        if (road.buffer && format_code == IS_FORMAT_JPEG)
            road.orientation = is_last_jpeg_orientation();
    } else
        road.error = is_get_last_error();
    is_close_source(source);
    return road;
}

raster_image* failed(load_failure* failure, int32_t code, const char* reason)
{
    if (!reason)
        reason = code == IS_OK ? "no picture was delivered" : is_error_text(code);
    if (failure)
        *failure = {code, reason};
    return nullptr;
}

}  // namespace

raster_image* load_picture(const char* path, bool check_extension, load_failure* failure)
{
    if (failure)
        *failure = {};
    if (check_extension && !extension_accepted(path))
        return failed(failure, IS_ERR_CANT_OPEN, "file name extension not accepted");
    is_set_read_option(3);
    is_set_jpeg_scale(1, 1);  // JPEG pictures are decoded at full size

    const road_result road = read_file(path);
    if (!road.buffer)
        return failed(failure, road.error, road.reason);
    if (road.width == 0 || road.height == 0) {
        is_global_free(road.buffer);
        return failed(failure, IS_ERR_READ, "the picture has no pixels");
    }
    raster_image* image = image_taking_buffer(road.buffer, road.width, road.height, road.bytes_per_pixel);
    if (!image)
        return failed(failure, IS_ERR_NO_MEMORY, "no memory for the picture");
    raster_image* shown = image_orient(image, road.orientation);
    if (!shown) {
        image_free(image);
        return failed(failure, IS_ERR_NO_MEMORY, "no memory to turn the picture the right way up");
    }
    return shown;
}
