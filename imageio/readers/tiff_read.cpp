// The TIFF read: opening the directory, the depth a packed bitmap is made
// at, and the choice between the RGBA and the sample paths.
#include "imageio/readers/tiff.h"

#include "imageio/buffer.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/tiff_glue.h"

namespace {

// The depth of a packed bitmap of the directory.
int32_t bitmap_depth(const tiff_directory& dir)
{
    if (tiff_is_bilevel(dir))
        return 1;
    if (dir.bits_per_sample <= 8 && dir.samples_per_pixel == 1)
        return 8;
    if (dir.bits_per_sample > 16 || dir.samples_per_pixel > 1)
        return dir.samples_per_pixel == 3 ? 24 : 32;
    const bool grey = dir.photometric == PHOTOMETRIC_MINISWHITE || dir.photometric == PHOTOMETRIC_MINISBLACK;
    return grey ? 8 : 32;
}

uint8_t* read_open_file(read_context& context, TIFF* tif, uint32_t* width, uint32_t* height, int32_t depth,
                        uint8_t* palette, uint32_t flags)
{
    const tiff_directory dir = read_tiff_directory(tif);
    if (depth == 24 || depth == 32)
        return tiff_read_true_colour(context, tif, dir, depth, flags, width, height);
    uint8_t* buffer = tiff_read_samples(context, tif, dir, depth, palette);
    if (buffer) {
        *width = dir.width;
        *height = dir.length;
    }
    return buffer;
}

}  // namespace

uint8_t* tiff_read(read_context& context, uint32_t* width, uint32_t* height, int32_t directory, int32_t depth,
                   uint8_t* palette, uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (!packed) {
        if (depth != 1 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
            return context.fail(IS_ERR_BAD_ARGUMENT);
        if ((depth == 1 || depth == 8) && !palette)
            return context.fail(IS_ERR_BAD_ARGUMENT);
    }
    tiff_file tif;
    if (int32_t error = tif.open(context.io, directory))
        return context.fail(error);
    if (!packed)
        return read_open_file(context, tif.get(), width, height, depth, palette, flags);

    const tiff_directory dir = read_tiff_directory(tif.get());
    const int32_t chosen = bitmap_depth(dir);
    uint8_t own_palette[1024] = {};
    uint32_t w = 0, h = 0;
    owned_buffer rows(read_open_file(context, tif.get(), &w, &h, chosen, own_palette, flags));
    if (!rows)
        return nullptr;
    const dib_shape shape{w, h, chosen, (int32_t)dir.x_resolution, (int32_t)dir.y_resolution};
    owned_buffer dib = packed_dib_from_rows(rows.get(), shape, own_palette, &context.error);
    if (!dib)
        return nullptr;
    *width = w;
    *height = h;
    return dib.release();
}

uint8_t* tiff_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return tiff_read(context, width, height, 0, depth, palette, 0);
}

namespace {

bool read_directory_of(read_context& context, int32_t directory, tiff_directory* dir)
{
    tiff_file tif;
    if (int32_t error = tif.open(context.io, directory)) {
        context.error = error;
        return false;
    }
    *dir = read_tiff_directory(tif.get());
    return true;
}

}  // namespace

bool tiff_query_header(read_context& context, int32_t directory, tiff_header_query* query)
{
    tiff_directory dir;
    if (!read_directory_of(context, directory, &dir))
        return false;
    query->width = dir.width;
    query->height = dir.length;
    query->bits_per_pixel = dir.bits_per_sample * dir.samples_per_pixel;
    query->x_resolution = dir.x_resolution;
    query->y_resolution = dir.y_resolution;
    query->resolution_unit = dir.resolution_unit;
    return true;
}

int32_t tiff_suggest_depth(read_context& context)
{
    tiff_directory dir;
    if (!read_directory_of(context, 0, &dir))
        return 0;
    const int32_t bits = dir.bits_per_sample * dir.samples_per_pixel;
    if (bits > 8)
        return bits == 32 ? 32 : 24;
    return tiff_is_bilevel(dir) ? 1 : 8;
}

uint8_t* is_read_tiff(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t directory, int32_t depth,
                      uint8_t* palette, uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return tiff_read(context, width, height, directory, depth, palette, flags);
    });
}
