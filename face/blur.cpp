// Gaussian blur, vertical pass then horizontal, each a one-dimensional pass
// over run-length encoded lines: a run of equal values costs one
// multiplication through the kernel's prefix sums, so the flat insides and
// outsides of masks cost next to nothing.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "face/blur_kernel.h"
#include "face/face_areas.h"
#include "face/face_effects.h"
#include "raster/image_rows.h"
#include "raster/kit_scoped.h"

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
    const uint8_t* values = line.values;
    const ptrdiff_t step = line.step;
    for (int32_t i = 0, count = line.count; i < count; ++i)
        if (runs[i].value != values[i * step])
            return false;
    return true;
}

void encode_runs(const blur_line& line, blur_run* runs)
{
    const uint8_t* values = line.values;
    const ptrdiff_t step = line.step;
    const int32_t count = line.count;
    int32_t length = 0;
    for (int32_t i = count - 1; i >= 0; --i) {
        const int32_t value = values[i * step];
        length = i + 1 < count && value == runs[i + 1].value ? length + 1 : 1;
        runs[i] = {value, length};
    }
}

// numerator / total in integers, without a division: the estimate through
// the reciprocal is off by less than one, so one step either way mends it.
int64_t divide_by_total(int64_t numerator, const blur_workspace& work)
{
    int64_t quotient = (int64_t)((double)numerator * work.reciprocal);
    const int64_t rest = numerator - quotient * work.total;
    if (rest < 0)
        --quotient;
    else if (rest >= work.total)
        ++quotient;
    return quotient;
}

// Positions before the line take its first value and positions past it its
// last, so the run reaching the last position goes on for ever.
void blur_positions(const blur_line& line, const blur_workspace& work)
{
    const blur_run* runs = work.runs;
    uint8_t* values = line.values;
    const ptrdiff_t step = line.step;
    const int64_t n = work.radius, count = line.count, to = line.to;
    const int64_t* sums = work.sums + n;  // sums[k]: the weights of offsets -n..k-1
    for (int64_t l = line.from; l < to; ++l) {
        // A window within one run keeps its value, and so do the windows
        // after it up to the last one inside that run.
        const int64_t first = std::clamp<int64_t>(l - n, 0, count - 1);
        const int64_t first_end = first + runs[first].length;
        if (first_end == count || first_end - l >= n) {
            const int64_t stop = first_end == count ? to : std::min<int64_t>(to, first_end - n + 1);
            for (; l < stop; ++l)
                values[l * step] = (uint8_t)runs[first].value;
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
        values[l * step] = (uint8_t)divide_by_total(work.total / 2 + sum, work);
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

int32_t blur_area(raster_image* image, double sigma, int32_t left, int32_t top, int32_t width, int32_t height,
                  blur_workspace* shared)
{
    const int32_t radius = gaussian_radius(sigma);
    const int32_t from_x = std::max(left, 0), from_y = std::max(top, 0);
    const auto to_x = (int32_t)std::min<int64_t>((int64_t)left + std::max(width, 0), image->width);
    const auto to_y = (int32_t)std::min<int64_t>((int64_t)top + std::max(height, 0), image->height);
    if (radius <= 0 || from_x >= to_x || from_y >= to_y)
        return radius;
    const int channels = pixel_color_bytes(image->type);
    if (channels != 1 && channels != 3)
        return radius;
    const int32_t longest_line = std::max(image->width, image->height);
    const scoped_block own_memory(shared ? nullptr : kit_alloc(blur_workspace::bytes_for(radius, longest_line)));
    blur_workspace own(radius, longest_line, own_memory.block);
    blur_workspace& work = shared ? *shared : own;
    if (!work.ready() || !work.fits(radius, longest_line))
        return -1;
    work.prepare(radius, sigma);
    // Every column, since the rows read their neighbours' columns too.
    for (int c = 0; c < channels; ++c)
        blur_columns(image, c, from_y, to_y, work);
    // Rows channel by channel, so that each row follows the same channel's
    // row before it.
    for (int c = 0; c < channels; ++c) {
        for (int32_t y = from_y; y < to_y; ++y) {
            uint8_t* row = color_row(image, y) + c;
            const uint8_t* previous = y > from_y ? row - image->stride : nullptr;
            blur({row, channels, image->width, from_x, to_x, previous}, work);
        }
    }
    return radius;
}

int32_t image_blur(raster_image* image, double sigma)
{
    return image ? blur_area(image, sigma, 0, 0, image->width, image->height, nullptr) : gaussian_radius(sigma);
}
