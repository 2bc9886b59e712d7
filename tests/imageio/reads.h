// Reads through the library's entry points that hand back a read_result:
// the buffer's bytes copied (as its size and depth say, or a packed bitmap
// whole as its header says), the buffer freed, the last error taken.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tests/imageio/buffer_bytes.h"
#include "tests/imageio/test_support.h"

struct read_result {
    bool has_buffer = false;
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t depth = 0;
    int32_t error = 0;
    std::vector<uint8_t> palette = std::vector<uint8_t>(1024, 0xCD);
};

// Fills in the buffer's bytes (frees it) and the thread's last error; the
// result's width, height and depth must be set.
void take_buffer(uint8_t* buffer, uint32_t flags, read_result* result);

read_result read_bmp(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0, bool with_palette = true);
read_result read_generic(ISSourceRecord* source, int32_t wanted_depth);
read_result read_generic(const std::vector<uint8_t>& file, int32_t wanted_depth);

// The readers that share one form: source, width, height, depth, palette,
// flags (TGA, PCX, WBMP).
using format_read_fn = uint8_t* (*)(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth,
                                    uint8_t* palette, uint32_t flags);
read_result read_format(format_read_fn read, const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0,
                        bool with_palette = true);

read_result read_psd(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0);
read_result read_tla(const std::vector<uint8_t>& file, int32_t mode, uint32_t flags = 0);
read_result read_pcd(const std::vector<uint8_t>& file, int32_t resolution, uint32_t flags = 0);

// Runs read(source, &width, &height, palette) over a memory source holding
// the file and collects the buffer as depth-bit packed rows.
template <class Read>
read_result read_codec(const std::vector<uint8_t>& file, int32_t depth, Read&& read)
{
    memory_source source(file);
    read_result r;
    r.depth = depth;
    take_buffer(read(source.get(), &r.width, &r.height, r.palette.data()), 0, &r);
    return r;
}

// Red, green, blue of pixel (x, y) of a 24-bit result.
std::vector<uint8_t> rgb_at(const read_result& r, uint32_t x, uint32_t y);

// Largest difference between two equally long byte runs (256 when the
// lengths differ).
inline int max_difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size())
        return 256;
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int d = std::abs((int)a[i] - (int)b[i]);
        worst = d > worst ? d : worst;
    }
    return worst;
}

// The same pixel repeated count times.
inline std::vector<uint8_t> repeated(const std::vector<uint8_t>& pixel, size_t count)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < count; ++i)
        out.insert(out.end(), pixel.begin(), pixel.end());
    return out;
}
