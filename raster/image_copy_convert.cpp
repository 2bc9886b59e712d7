// Copying images and converting between pixel types.
#include "raster/image_rows.h"

#include <cstring>

void copy_rows(raster_image* destination, const raster_image* source, int32_t width, int32_t height,
               bool with_alpha)
{
    if (width <= 0 || height <= 0 || pixel_color_bytes(destination->type) != pixel_color_bytes(source->type))
        return;
    const size_t bytes = color_row_bytes(source, width);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(color_row(destination, y), color_row(source, y), bytes);
    // A destination without an alpha plane simply takes the colours.
    if (!with_alpha || !has_alpha_plane(source) || !has_alpha_plane(destination))
        return;
    const size_t alpha_bytes = (size_t)width * (size_t)pixel_alpha_bytes(source->type);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(alpha_row(destination, y), alpha_row(source, y), alpha_bytes);
}

void image_copy(raster_image* destination, const raster_image* source)
{
    copy_rows(destination, source, source->width, source->height, true);
}

namespace {

// Pixel values are read least significant byte first: BGR24 gives blue in the
// low byte, RGB555 its little-endian word, GRAY8 the grey level.
uint32_t same_pixel(uint32_t value) { return value; }

uint32_t gray_to_bgr(uint32_t gray) { return gray * 0x010101u; }

}  // namespace

uint32_t expand_rgb555(uint32_t word)
{
    const uint32_t red = (word >> 10 & 0x1F) * 255 / 31;
    const uint32_t green = (word >> 5 & 0x1F) * 255 / 31;
    const uint32_t blue = (word & 0x1F) * 255 / 31;
    return blue | green << 8 | red << 16;
}

namespace {

// Conversions into RGB555 keep the top five bits of each channel.
uint32_t bgr_to_555(uint32_t bgr)
{
    return (bgr >> 19 & 0x1F) << 10 | (bgr >> 11 & 0x1F) << 5 | (bgr >> 3 & 0x1F);
}

uint32_t gray_to_555(uint32_t gray) { return bgr_to_555(gray_to_bgr(gray)); }

// RGB555 to grey goes through the expanded 24-bit colour so that it agrees
// with converting to BGR24 first and then to grey.
uint32_t rgb555_to_gray(uint32_t word) { return bgr_to_gray(expand_rgb555(word)); }

using convert_rows_fn = void (*)(raster_image*, const raster_image*);

template <int SourceBytes, int DestinationBytes, uint32_t (*Convert)(uint32_t)>
void convert_rows(raster_image* destination, const raster_image* source)
{
    for (int32_t y = 0; y < destination->height; ++y) {
        const uint8_t* in = color_row(source, y);
        uint8_t* out = color_row(destination, y);
        for (int32_t x = 0; x < destination->width; ++x, in += SourceBytes, out += DestinationBytes) {
            uint32_t value = 0;
            for (int i = 0; i < SourceBytes; ++i)
                value |= (uint32_t)in[i] << (8 * i);
            value = Convert(value);
            for (int i = 0; i < DestinationBytes; ++i)
                out[i] = (uint8_t)(value >> (8 * i));
        }
    }
}

// Indexed by source and destination colour bytes per pixel, minus one. The
// diagonal is reached only when the alpha flags differ in the way the plain
// copy does not cover (a destination with an alpha plane): colours are copied
// and the destination's alpha plane is left as it is.
const convert_rows_fn converters[3][3] = {
    {convert_rows<1, 1, same_pixel>, convert_rows<1, 2, gray_to_555>, convert_rows<1, 3, gray_to_bgr>},
    {convert_rows<2, 1, rgb555_to_gray>, convert_rows<2, 2, same_pixel>, convert_rows<2, 3, expand_rgb555>},
    {convert_rows<3, 1, bgr_to_gray>, convert_rows<3, 2, bgr_to_555>, convert_rows<3, 3, same_pixel>},
};

bool is_color_type(int bytes) { return bytes >= 1 && bytes <= 3; }

}  // namespace

bool image_convert(raster_image* destination, const raster_image* source)
{
    if (destination->type == (source->type & ~PIXEL_ALPHA8)) {
        copy_rows(destination, source, source->width, source->height, false);
        return true;
    }
    const int source_bytes = pixel_color_bytes(source->type);
    const int destination_bytes = pixel_color_bytes(destination->type);
    if (!is_color_type(source_bytes) || !is_color_type(destination_bytes))
        return false;
    converters[source_bytes - 1][destination_bytes - 1](destination, source);
    return true;
}
