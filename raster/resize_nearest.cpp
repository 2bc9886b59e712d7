// Nearest-neighbour scaling in 16.16 fixed point, for everything on screen.
#include <cstring>

#include "raster/resize_internal.h"
#include "raster/resize_paths.h"

namespace {

// Source steps per destination pixel such that the first destination pixel
// maps to the first source pixel and the last to the last. 64-bit, because
// lengths from 32768 up no longer fit 16.16 in 32 bits.
int64_t nearest_step(int32_t source_length, int32_t destination_length)
{
    if (destination_length < 2)
        return 0;
    return ((int64_t)source_length * 65536 - 65536) / (destination_length - 1);
}

template <int bytes>
void copy_row(const uint8_t* source, uint8_t* out, int32_t width, int64_t step)
{
    int64_t column = 32768;
    for (int32_t x = 0; x < width; ++x) {
        std::memcpy(out + (ptrdiff_t)x * bytes, source + (column >> 16) * bytes, bytes);
        column += step;
    }
}

}  // namespace

bool resize_nearest(resize_progress_fn progress, const raster_image* source, raster_image* destination)
{
    const resize_shape shape = resize_check(source, destination);
    if (shape != resize_shape::ready)
        return shape == resize_shape::empty;

    const int64_t step_x = nearest_step(source->width, destination->width);
    const int64_t step_y = nearest_step(source->height, destination->height);
    const bool gray = pixel_color_bytes(source->type) == 1;
    int64_t row = 32768;
    for (int32_t y = 0; y < destination->height; ++y) {
        if (progress && !progress((double)(y + 1) / destination->height, 0))
            return false;
        const uint8_t* line = source->pixels + (ptrdiff_t)(row >> 16) * source->stride;
        uint8_t* out = destination->pixels + (ptrdiff_t)y * destination->stride;
        if (gray)
            copy_row<1>(line, out, destination->width, step_x);
        else
            copy_row<3>(line, out, destination->width, step_x);
        row += step_y;
    }
    return true;
}
