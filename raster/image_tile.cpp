// Filling an image with a repeated pattern.
#include "raster/image_rows.h"

#include <algorithm>

namespace {

int32_t wrap(int32_t value, int32_t period)
{
    const int32_t rest = value % period;
    return rest < 0 ? rest + period : rest;
}

}  // namespace

void image_tile(raster_image* destination, const raster_image* pattern, int32_t phase_x, int32_t phase_y)
{
    if (is_empty(destination) || is_empty(pattern))
        return;
    // Phases outside the pattern would make a band or piece empty or negative;
    // they are taken modulo the pattern's size.
    phase_x = wrap(phase_x, pattern->width);
    phase_y = wrap(phase_y, pattern->height);

    int32_t pattern_row = phase_y;
    for (int32_t y = 0; y < destination->height;) {
        const int32_t band = std::min(pattern->height - pattern_row, destination->height - y);
        int32_t pattern_column = phase_x;
        for (int32_t x = 0; x < destination->width;) {
            const int32_t piece = std::min(pattern->width - pattern_column, destination->width - x);
            raster_image from, to;
            image_view(&from, pattern_row, pattern_column, pattern, piece, band);
            image_view(&to, y, x, destination, piece, band);
            image_copy(&to, &from);
            x += piece;
            pattern_column = (pattern_column + piece) % pattern->width;
        }
        y += band;
        pattern_row = (pattern_row + band) % pattern->height;
    }
}
