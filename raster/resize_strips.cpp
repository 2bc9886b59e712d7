// The vertical pass of the vectorised paths: the destination is computed in
// strips of columns, and within a strip row by row, so that one set of weights
// serves a whole run of bytes. Each column's callback still comes before the
// column is written, and a stop leaves exactly the earlier columns written.
#include "raster/resize_internal.h"

namespace {

// Columns per strip: a multiple of 32 so that whole vectors cover a strip, and
// few enough bytes that the rows one output row reads stay in the first-level
// cache.
int32_t strip_columns(int bytes_per_pixel)
{
    const int32_t strip_bytes = 384;
    return strip_bytes / (32 * bytes_per_pixel) * 32;
}

}  // namespace

bool resize_vertical_strips(resize_progress_fn progress, const raster_image* intermediate,
                            raster_image* destination, resize_table& table, resize_rows_fn rows_fn)
{
    const int bytes = pixel_color_bytes(intermediate->type);
    // The offsets address pixels of a packed column; here they select rows.
    for (int32_t i = 0; i < table.length; ++i)
        for (int32_t k = 0; k < table.entries[i].count; ++k)
            table.entries[i].pairs[k].offset /= bytes;

    const int32_t width = destination->width;
    const int32_t strip = strip_columns(bytes);
    for (int32_t x0 = 0; x0 < width; x0 += strip) {
        const int32_t columns = width - x0 < strip ? width - x0 : strip;
        int32_t approved = columns;
        for (int32_t c = 0; progress && c < columns; ++c) {
            if (!progress(resize_column_fraction(x0 + c, width), 0)) {
                approved = c;
                break;
            }
        }
        const uint8_t* base = intermediate->pixels + (ptrdiff_t)x0 * bytes;
        uint8_t* out = destination->pixels + (ptrdiff_t)x0 * bytes;
        for (int32_t y = 0; approved > 0 && y < destination->height; ++y) {
            const resize_entry& entry = table.entries[y];
            rows_fn(base, intermediate->stride, entry.pairs, entry.count, out + (ptrdiff_t)y * destination->stride,
                    approved * bytes);
        }
        if (approved < columns)
            return false;
    }
    return true;
}
