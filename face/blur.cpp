// Gaussian blur, vertical pass then horizontal, each a one-dimensional pass
// over run-length encoded lines: a run of equal values costs one
// multiplication through the kernel's prefix sums, so the flat insides and
// outsides of masks cost next to nothing.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

#include "face/blur_kernel.h"
#include "face/face_areas.h"
#include "face/face_effects.h"
#include "raster/image_rows.h"

namespace {

// A line of count values spaced step bytes apart, of which positions from
// to to - 1 are blurred. The run buffer still holds the previous line's
// values; when this line repeats them (as the rows of a tall plate do), it
// takes the previous line's result, found at previous_result.
struct blur_line {
    uint8_t* values;
    ptrdiff_t step;
    int32_t count;
    int32_t from, to;
    const uint8_t* previous_result;
};

// True when the line holds the same values as the previous one, whose runs
// are still in the buffer.
bool repeats_previous(const blur_line& line, const blur_run* runs)
{
    if (!line.previous_result)
        return false;
    for (int32_t i = 0; i < line.count; ++i)
        if (runs[i].value != line.values[i * line.step])
            return false;
    return true;
}

void encode_runs(const blur_line& line, blur_run* runs)
{
    int32_t length = 0;
    for (int32_t i = line.count - 1; i >= 0; --i) {
        const int32_t value = line.values[i * line.step];
        length = i + 1 < line.count && value == runs[i + 1].value ? length + 1 : 1;
        runs[i] = {value, length};
    }
}

// Positions before the line take its first value and positions past it its
// last, so the run reaching the last position goes on for ever.
void blur_positions(const blur_line& line, const blur_workspace& work)
{
    const blur_run* runs = work.runs;
    const int64_t n = work.radius, count = line.count;
    const int64_t* sums = work.sums + n;  // sums[k]: the weights of offsets -n..k-1
    for (int64_t l = line.from; l < line.to; ++l) {
        // A window within one run keeps its value, and so do the windows
        // after it up to the last one inside that run.
        const int64_t first = std::clamp<int64_t>(l - n, 0, count - 1);
        const int64_t first_end = first + runs[first].length;
        if (first_end == count || first_end - l >= n) {
            const int64_t stop = first_end == count ? line.to : std::min<int64_t>(line.to, first_end - n + 1);
            for (; l < stop; ++l)
                line.values[l * line.step] = (uint8_t)runs[first].value;
            --l;
            continue;
        }
        int64_t sum = 0;
        for (int64_t k = -n; k < n;) {
            const int64_t at = std::clamp<int64_t>(l + k, 0, count - 1);
            const int64_t end = at + runs[at].length;
            const int64_t next = end == count ? n : std::min(n, end - l);
            sum += runs[at].value * (sums[next] - sums[k]);
            k = next;
        }
        line.values[l * line.step] = (uint8_t)((work.total / 2 + sum) / work.total);
    }
}

void blur(const blur_line& line, const blur_workspace& work)
{
    if (repeats_previous(line, work.runs)) {
        for (int32_t i = line.from; i < line.to; ++i)
            line.values[i * line.step] = line.previous_result[i * line.step];
        return;
    }
    encode_runs(line, work.runs);
    blur_positions(line, work);
}

// Marks in repeats the columns whose value in this row equals the one
// before; the flags only ever go from 1 to 0.
void keep_repeats(const uint8_t* __restrict row, int channels, uint8_t* __restrict repeats, int32_t width)
{
    if (channels == 1) {
        for (int32_t x = 1; x < width; ++x)
            repeats[x] &= row[x] == row[x - 1];
    } else {
        for (int32_t x = 1; x < width; ++x)
            repeats[x] &= row[x * channels] == row[(x - 1) * channels];
    }
}

// The vertical pass over one channel. Columns equal to the one before them
// (most columns of a mask) take its result: they are found in one pass
// along the rows, the others are blurred, and then each stretch of repeated
// columns is filled row by row from the column before it.
void blur_columns(raster_image* image, int channel, int32_t from, int32_t to, const blur_workspace& work)
{
    const int channels = pixel_color_bytes(image->type);
    uint8_t* repeats = work.column_flags;
    std::fill(repeats, repeats + image->width, 1);
    repeats[0] = 0;
    for (int32_t y = 0; y < image->height; ++y)
        keep_repeats(color_row(image, y) + channel, channels, repeats, image->width);
    uint8_t* top = color_row(image, 0) + channel;
    for (int32_t x = 0; x < image->width; ++x)
        if (!repeats[x])
            blur({top + (ptrdiff_t)x * channels, image->stride, image->height, from, to, nullptr}, work);

    // The run buffer is free again: it lists the stretches (first column, count).
    blur_run* stretches = work.runs;
    int32_t count = 0;
    for (int32_t x = 1; x < image->width; ++x) {
        if (!repeats[x])
            continue;
        if (count > 0 && stretches[count - 1].value + stretches[count - 1].length == x)
            ++stretches[count - 1].length;
        else
            stretches[count++] = {x, 1};
    }
    for (int32_t y = from; y < to; ++y) {
        uint8_t* row = color_row(image, y) + channel;
        for (int32_t i = 0; i < count; ++i) {
            const int32_t first = stretches[i].value, last = first + stretches[i].length;
            if (channels == 1)
                std::memset(row + first, row[first - 1], (size_t)stretches[i].length);
            else
                for (int32_t x = first; x < last; ++x)
                    row[x * channels] = row[(first - 1) * channels];
        }
    }
}

}  // namespace

int32_t blur_rows(raster_image* image, double sigma, int32_t first_row, int32_t row_count,
                  blur_workspace* shared)
{
    const int32_t radius = gaussian_radius(sigma);
    const int32_t from = std::max(first_row, 0);
    const int32_t to = (int32_t)std::min<int64_t>((int64_t)first_row + std::max(row_count, 0), image->height);
    if (radius <= 0 || is_empty(image) || from >= to)
        return radius;
    const int channels = pixel_color_bytes(image->type);
    if (channels != 1 && channels != 3)
        return radius;
    const int32_t longest_line = std::max(image->width, image->height);
    std::optional<blur_workspace> own;
    if (!shared)
        own.emplace(radius, longest_line);
    blur_workspace& work = shared ? *shared : *own;
    if (!work.ready() || !work.fits(radius, longest_line))
        return -1;
    work.prepare(radius, sigma);
    for (int c = 0; c < channels; ++c)
        blur_columns(image, c, from, to, work);
    // Rows channel by channel, so that each row follows the same channel's
    // row before it.
    for (int c = 0; c < channels; ++c) {
        for (int32_t y = from; y < to; ++y) {
            uint8_t* row = color_row(image, y) + c;
            blur({row, channels, image->width, 0, image->width, y > from ? row - image->stride : nullptr}, work);
        }
    }
    return radius;
}

int32_t image_blur(raster_image* image, double sigma)
{
    return image ? blur_rows(image, sigma, 0, image->height, nullptr) : gaussian_radius(sigma);
}
