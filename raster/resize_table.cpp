// The Lanczos kernel and the contribution tables built from it.
#include "raster/resize_table.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "raster/raster_image.h"
#include "raster/resize.h"

double lanczos3(double x)
{
    const double pi = 3.141592653589793;
    const double a = std::fabs(x);
    if (a >= 3.0)
        return 0.0;
    const double t1 = pi * a;
    const double s1 = t1 == 0.0 ? 1.0 : std::sin(t1) / t1;
    const double t2 = a / 3.0 * pi;
    return t2 == 0.0 ? s1 : s1 * std::sin(t2) / t2;
}

void resize_table::release()
{
    kit_free(entries);
    kit_free(pairs);
    kit_free(packed);
    entries = nullptr;
    pairs = nullptr;
    packed = nullptr;
    length = 0;
    source_length = 0;
    room = 0;
}

namespace {

// Mirrors positions outside the source back into it: the edge pixel is not
// repeated on the left (-1 reads 1) but is on the right (S reads S - 1). What
// still falls outside (sources narrower than the filter) reads the pixel under
// the centre.
int64_t mirrored_index(int64_t j, int64_t length, double centre)
{
    int64_t index = j < 0 ? -j : j < length ? j : 2 * length - j - 1;
    if (index < 0 || index >= length) {
        index = (int64_t)centre;
        // centre = i / scale may round up to the length itself for huge sizes.
        if (index > length - 1)
            index = length - 1;
    }
    return index;
}

// Entries first .. first + count - 1 of the table of source_length onto
// destination_length; with relative set, the offsets count from the lowest
// source index read, which is returned in *source_begin.
bool build_entries(resize_table* table, int32_t source_length, int32_t destination_length, int32_t first,
                   int32_t count, resize_kernel_fn kernel, double support, int32_t bytes_per_pixel, bool relative,
                   int32_t* source_begin)
{
    table->release();
    if (source_length < 1 || destination_length < 1 || bytes_per_pixel < 1 || first < 0 || count < 1 ||
        first > destination_length - count ||
        (int64_t)source_length * bytes_per_pixel > std::numeric_limits<int32_t>::max())
        return false;

    const double scale = (double)destination_length / (double)source_length;
    const bool reduction = scale < 1.0;
    const double half_width = reduction ? support / scale : support;
    const double widening = reduction ? 1.0 / scale : 1.0;
    const double room = reduction ? 2.0 * support / scale + 1.0 : 2.0 * support + 1.0;
    if (!(room < std::numeric_limits<int32_t>::max() - 1))
        return false;
    const int64_t slots = (int64_t)room + 1;
    const uint64_t pair_bytes = sizeof(resize_pair) * (uint64_t)slots;
    if (pair_bytes > std::numeric_limits<uint64_t>::max() / (uint64_t)count)
        return false;

    table->entries = static_cast<resize_entry*>(kit_alloc(sizeof(resize_entry) * (uint64_t)count));
    table->pairs = static_cast<resize_pair*>(kit_alloc(pair_bytes * (uint64_t)count));
    if (!table->entries || !table->pairs) {
        table->release();
        return false;
    }
    table->length = count;
    table->source_length = source_length;
    table->room = (int32_t)room;

    int64_t lowest = source_length;
    int64_t highest = 0;
    for (int32_t n = 0; n < count; ++n) {
        const int32_t i = first + n;
        const double centre = i / scale;
        const int64_t left = (int64_t)std::ceil(centre - half_width);
        int64_t right = (int64_t)std::floor(centre + half_width);
        if (right > left + slots - 1)
            right = left + slots - 1;
        resize_pair* list = table->pairs + (size_t)n * (size_t)slots;
        int32_t entry_count = 0;
        int32_t sum = 0;
        int32_t largest = 0;
        int32_t largest_at = 0;
        for (int64_t j = left; j <= right; ++j) {
            const double distance = centre - (double)j;
            const int32_t weight = reduction ? (int32_t)(kernel(distance / widening) / widening * 65536.0)
                                             : (int32_t)(kernel(distance) * 65536.0);
            const int64_t index = mirrored_index(j, source_length, centre);
            lowest = index < lowest ? index : lowest;
            highest = index > highest ? index : highest;
            list[entry_count].offset = (int32_t)(index * bytes_per_pixel);
            list[entry_count].weight = weight;
            sum += weight;
            if (weight > largest) {
                largest = weight;
                largest_at = entry_count;
            }
            ++entry_count;
        }
        // Truncating every weight loses a little; give the rest to the
        // largest weight so that a flat area stays exactly flat.
        list[largest_at].weight += 65536 - sum;
        table->entries[n].count = entry_count;
        table->entries[n].pairs = list;
    }
    if (relative) {
        const int32_t shift = (int32_t)(lowest * bytes_per_pixel);
        for (int32_t n = 0; n < count; ++n)
            for (int32_t k = 0; k < table->entries[n].count; ++k)
                table->entries[n].pairs[k].offset -= shift;
        table->source_length = (int32_t)(highest - lowest + 1);
        *source_begin = (int32_t)lowest;
    }
    return true;
}

}  // namespace

bool resize_table_build(resize_table* table, int32_t source_length, int32_t destination_length,
                        resize_kernel_fn kernel, double support, int32_t bytes_per_pixel)
{
    return build_entries(table, source_length, destination_length, 0, destination_length, kernel, support,
                         bytes_per_pixel, false, nullptr);
}

bool resize_table_build_part(resize_table* table, int32_t source_length, int32_t destination_length,
                             int32_t first, int32_t count, resize_kernel_fn kernel, double support,
                             int32_t bytes_per_pixel, int32_t* source_begin)
{
    return build_entries(table, source_length, destination_length, first, count, kernel, support, bytes_per_pixel,
                         true, source_begin);
}
