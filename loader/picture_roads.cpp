#include "loader/picture_roads.h"

#include "imageio/readers/j2k.h"

const char too_large_reason[] =
    "the picture is too large: its pixels would pass the image library's limit of 2147348478 bytes "
    "(about 715 million pixels at 24 bits)";

picture_road road_for_format(int32_t format_code)
{
    switch (format_code) {
    case IS_FORMAT_BMP:
    case IS_FORMAT_GIF:
    case IS_FORMAT_JPEG:
    case IS_FORMAT_PCX:
    case IS_FORMAT_TIFF:
    case IS_FORMAT_PSD:
    case IS_FORMAT_TGA:
    case IS_FORMAT_PCD_OVERVIEW:
        return picture_road::generic_rgb24;
    case IS_FORMAT_PNG:
        return picture_road::generic_rgba32;
    case IS_FORMAT_WMF:
    case IS_FORMAT_EMF:
        return picture_road::metafile;
    case IS_FORMAT_PCD:
        return picture_road::photo_cd;
    case IS_FORMAT_JP2:
    case IS_FORMAT_J2K_AT_4:
        return picture_road::jpeg2000;
    default:
        return picture_road::refused;
    }
}

road_result delivered(uint8_t* buffer, uint32_t width, uint32_t height, int bytes_per_pixel)
{
    road_result result;
    result.error = is_get_last_error();
    if (!buffer && result.error == IS_ERR_NO_MEMORY && is_get_refused_buffer_bytes() != 0)
        result.reason = too_large_reason;
    if (buffer) {
        result.buffer = buffer;
        result.width = width;
        result.height = height;
        result.bytes_per_pixel = bytes_per_pixel;
    }
    return result;
}

road_result read_generic_road(ISSourceRecord* source, int32_t depth)
{
    uint32_t width = 0, height = 0;
    uint8_t* buffer = depth == 32 ? is_read_generic_rgba32(source, &width, &height)
                                  : is_read_generic_rgb24(source, &width, &height);
    return delivered(buffer, width, height, depth == 32 ? 4 : 3);
}

road_result read_photo_cd_road(ISSourceRecord* source, pcd_read_fn read)
{
    road_result result;
    for (int32_t resolution = 6; resolution >= 1; --resolution) {
        uint32_t width = 0, height = 0;
        uint8_t* buffer = read(source, &width, &height, resolution, 0);
        result = delivered(buffer, width, height, 3);
        if (buffer)
            break;
        is_seek(source, 0, 0);
    }
    return result;
}

j2k_module default_j2k_module()
{
    return {j2k_set_io_callbacks, j2k_read};
}

road_result read_jpeg2000_road(ISSourceRecord* source, const j2k_module& module)
{
    is_io_callbacks* table = is_make_io_callbacks(0);
    if (!table)
        return delivered(nullptr, 0, 0, 3);
    // The module keeps its own copy of the table.
    const bool installed = module.set_io_callbacks(table);
    is_global_free(table);
    if (!installed)
        return delivered(nullptr, 0, 0, 3);
    uint32_t width = 0, height = 0;
    uint8_t* buffer = module.read(source, &width, &height, 24, 1.0, 0);
    return delivered(buffer, width, height, 3);
}
