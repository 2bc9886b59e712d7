// The filtered method's reference path: per-channel 32-bit convolution, a
// horizontal pass row by row and a vertical pass column by column through a
// packed column buffer.
#include <cstring>

#include "raster/resize_internal.h"

void resize_convolve(const uint8_t* line, const resize_table& table, uint8_t* out, ptrdiff_t step)
{
    for (int32_t i = 0; i < table.length; ++i) {
        const resize_entry& entry = table.entries[i];
        int32_t sum = 0;
        for (int32_t k = 0; k < entry.count; ++k)
            sum += line[entry.pairs[k].offset] * entry.pairs[k].weight;
        *out = resize_clamp(sum);
        out += step;
    }
}

void resize_row_gray(const uint8_t* row, int32_t, const resize_table& table, uint8_t* out)
{
    resize_convolve(row, table, out, 1);
}

void resize_row_bgr(const uint8_t* row, int32_t, const resize_table& table, uint8_t* out)
{
    for (int channel = 2; channel >= 0; --channel)  // red, green, blue
        resize_convolve(row + channel, table, out + channel, 3);
}

bool resize_horizontal_pass(resize_progress_fn progress, const raster_image* source, raster_image* intermediate,
                            resize_table& table, resize_row_fn row_fn, resize_prepare_fn prepare)
{
    const int bytes = pixel_color_bytes(intermediate->type);
    if (prepare && !prepare(&table))
        return false;
    for (int32_t y = 0; y < intermediate->height; ++y) {
        if (progress && !progress(resize_row_fraction(y, source->height), 0))
            return false;
        row_fn(source->pixels + (ptrdiff_t)y * source->stride, source->width * bytes, table,
               intermediate->pixels + (ptrdiff_t)y * intermediate->stride);
    }
    return true;
}

bool resize_vertical_columns(resize_progress_fn progress, const raster_image* intermediate,
                             raster_image* destination, const resize_table& table)
{
    const int bytes = pixel_color_bytes(intermediate->type);
    scoped_block column(kit_alloc((uint64_t)intermediate->height * bytes));
    if (!column.block)
        return false;
    uint8_t* packed = static_cast<uint8_t*>(column.block);

    for (int32_t x = 0; x < destination->width; ++x) {
        if (progress && !progress(resize_column_fraction(x, destination->width), 0))
            return false;
        const uint8_t* in = intermediate->pixels + (ptrdiff_t)x * bytes;
        for (int32_t y = 0; y < intermediate->height; ++y)
            std::memcpy(packed + (ptrdiff_t)y * bytes, in + (ptrdiff_t)y * intermediate->stride, bytes);
        uint8_t* out = destination->pixels + (ptrdiff_t)x * bytes;
        for (int channel = bytes - 1; channel >= 0; --channel)  // red, green, blue
            resize_convolve(packed + channel, table, out + channel, destination->stride);
    }
    return true;
}
