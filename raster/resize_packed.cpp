#include "raster/resize_packed.h"

#include <cstring>
#include <limits>

#include "raster/raster_image.h"

namespace {

constexpr uint64_t header_bytes = 32;
constexpr uint64_t group_bytes = resize_group_weights * sizeof(int16_t);

uint64_t entries_bytes(int32_t length)
{
    return ((uint64_t)length * sizeof(resize_packed_entry) + 31) / 32 * 32;
}

// Merges weight into pixel position of a zeroed group area; false when the
// merged weight leaves the 16-bit range.
bool add_weight(int16_t* weights, int64_t position, int32_t weight)
{
    int16_t* lane = weights + position / 4 * resize_group_weights + position % 4 / 2 * 8 + position % 2;
    const int32_t merged = lane[0] + weight;
    if (merged < std::numeric_limits<int16_t>::min() || merged > std::numeric_limits<int16_t>::max())
        return false;
    lane[0] = lane[2] = lane[4] = (int16_t)merged;
    return true;
}

// Packs one entry into its weights area; the window start, or -1.
int32_t pack_entry(const resize_entry& entry, int32_t source_length, int32_t group_stride, int16_t* weights,
                   int32_t* groups_out)
{
    int64_t low = std::numeric_limits<int64_t>::max(), high = -1;
    for (int32_t k = 0; k < entry.count; ++k) {
        const int64_t index = entry.pairs[k].offset / 3;
        low = index < low ? index : low;
        high = index > high ? index : high;
    }
    const int64_t groups = (high - low + 1 + 3) / 4;
    // Each group is read as 16 bytes from its first pixel, 4 bytes more than
    // its 4 pixels; near the right end of the line the window moves left.
    int64_t first = low;
    if ((first + 4 * groups) * 3 + 4 > (int64_t)source_length * 3)
        first = source_length - 4 * groups - 2;
    if (entry.count == 0 || groups > group_stride || first < 0 || first + 4 * groups <= high)
        return -1;
    std::memset(weights, 0, (size_t)groups * group_bytes);
    for (int32_t k = 0; k < entry.count; ++k)
        if (!add_weight(weights, entry.pairs[k].offset / 3 - first, entry.pairs[k].weight))
            return -1;
    *groups_out = (int32_t)groups;
    return (int32_t)(first * 3);
}

}  // namespace

bool resize_pack_bgr(resize_table* table)
{
    const int64_t group_stride = ((int64_t)table->room + 1 + 3) / 4;
    const uint64_t length = (uint64_t)table->length;
    if (length == 0 || (uint64_t)group_stride > std::numeric_limits<uint64_t>::max() / group_bytes / length)
        return false;
    const uint64_t weight_bytes = length * (uint64_t)group_stride * group_bytes;
    if (weight_bytes > std::numeric_limits<uint64_t>::max() - header_bytes - entries_bytes(table->length))
        return false;
    uint8_t* block = static_cast<uint8_t*>(kit_alloc(header_bytes + entries_bytes(table->length) + weight_bytes));
    if (!block)
        return false;
    kit_free(table->packed);
    table->packed = block;

    const int32_t stride = (int32_t)group_stride;
    std::memcpy(block, &stride, sizeof stride);
    const resize_packed_view view = resize_packed_of(*table);
    auto* entries = const_cast<resize_packed_entry*>(view.entries);
    auto* weights = const_cast<int16_t*>(view.weights);
    for (int32_t i = 0; i < table->length; ++i) {
        entries[i].groups = 0;
        entries[i].start = pack_entry(table->entries[i], table->source_length, stride,
                                      weights + (size_t)i * (size_t)stride * resize_group_weights, &entries[i].groups);
    }
    return true;
}

resize_packed_view resize_packed_of(const resize_table& table)
{
    if (!table.packed)
        return {0, nullptr, nullptr};
    const uint8_t* block = static_cast<const uint8_t*>(table.packed);
    int32_t stride;
    std::memcpy(&stride, block, sizeof stride);
    return {stride, reinterpret_cast<const resize_packed_entry*>(block + header_bytes),
            reinterpret_cast<const int16_t*>(block + header_bytes + entries_bytes(table.length))};
}
