// Gaussian blur, vertical pass then horizontal, each a one-dimensional pass
// over run-length encoded lines: a run of equal values costs one
// multiplication through the kernel's prefix sums, so the flat insides and
// outsides of masks cost next to nothing.
#include <algorithm>
#include <cstddef>

#include "face/blur_kernel.h"
#include "face/face_effects.h"
#include "raster/image_rows.h"

namespace {

// Blurs count values spaced step bytes apart. Positions before the line take
// its first value and positions past it its last.
void blur_line(uint8_t* line, ptrdiff_t step, int32_t count, const blur_kernel& kernel)
{
    blur_run* runs = kernel.runs;
    runs[count - 1] = {line[(count - 1) * step], 1};
    for (int32_t i = count - 2; i >= 0; --i) {
        const int32_t value = line[i * step];
        runs[i] = {value, value == runs[i + 1].value ? runs[i + 1].length + 1 : 1};
    }
    const int64_t n = kernel.radius;
    const int64_t* sums = kernel.sums + n;  // sums[k]: the weights of offsets -n..k-1
    for (int32_t l = 0; l < count; ++l) {
        int64_t sum = 0;
        for (int64_t k = -n; k < n;) {
            const int64_t at = std::clamp<int64_t>(l + k, 0, count - 1);
            const blur_run& run = runs[at];
            // The run reaching the last position goes on past the line.
            const int64_t end = at + run.length;
            const int64_t next = end == count ? n : std::min(n, end - l);
            sum += run.value * (sums[next] - sums[k]);
            k = next;
        }
        line[l * step] = (uint8_t)((kernel.total / 2 + sum) / kernel.total);
    }
}

}  // namespace

int32_t image_blur(raster_image* image, double sigma)
{
    const int32_t radius = gaussian_radius(sigma);
    if (!image || radius <= 0 || is_empty(image))
        return radius;
    const int channels = pixel_color_bytes(image->type);
    if (channels != 1 && channels != 3)
        return radius;
    const blur_kernel kernel(radius, std::max(image->width, image->height), sigma);
    if (!kernel.ready())
        return -1;
    for (int32_t x = 0; x < image->width; ++x)
        for (int c = 0; c < channels; ++c)
            blur_line(color_row(image, 0) + (ptrdiff_t)x * channels + c, image->stride, image->height, kernel);
    for (int32_t y = 0; y < image->height; ++y)
        for (int c = 0; c < channels; ++c)
            blur_line(color_row(image, y) + c, channels, image->width, kernel);
    return radius;
}
