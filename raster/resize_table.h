// Contribution tables of the filtered resampler: for every output position of
// one direction, the source pixels it reads and their 16.16 fixed-point
// weights.
#pragma once
#include <cstdint>

struct resize_pair {
    int32_t offset;  // source pixel index times the bytes per pixel
    int32_t weight;  // 16.16 fixed point; 65536 is 1.0
};

struct resize_entry {
    int32_t count;
    resize_pair* pairs;
};

using resize_kernel_fn = double (*)(double x);

// One table owns two kit blocks: the entries and all lists. Every list has
// room + 1 slots: centre - half and centre + half are rounded separately, so a
// list can reach one pair beyond trunc(2 * half + 1).
struct resize_table {
    int32_t length = 0;         // number of entries (destination length)
    int32_t source_length = 0;  // pixels of the source line
    int32_t room = 0;           // pairs the widest list can hold by the width of the filter
    resize_entry* entries = nullptr;
    resize_pair* pairs = nullptr;
    void* packed = nullptr;     // the weights rearranged by a vectorised path, or null

    resize_table() = default;
    resize_table(const resize_table&) = delete;
    resize_table& operator=(const resize_table&) = delete;
    ~resize_table() { release(); }
    void release();
};

// Builds the table that maps source_length positions onto destination_length
// positions with the given kernel and support. False (and an empty table) for
// lengths below 1, offsets beyond 32 bits, or when memory runs out.
bool resize_table_build(resize_table* table, int32_t source_length, int32_t destination_length,
                        resize_kernel_fn kernel, double support, int32_t bytes_per_pixel);

// Entries first .. first + count - 1 of that table, each exactly as the whole
// table holds it, with offsets counted from the first source pixel any of
// them reads: *source_begin receives that pixel, and the table's
// source_length the number of pixels from it to the last one read. A part of
// a larger resample thus needs only the source pixels its entries read.
// False (and an empty table) also for a range outside the destination.
bool resize_table_build_part(resize_table* table, int32_t source_length, int32_t destination_length,
                             int32_t first, int32_t count, resize_kernel_fn kernel, double support,
                             int32_t bytes_per_pixel, int32_t* source_begin);
