// What the codec readers' tests share: a read through one reader entry into
// a read_result, and a comparison with a tolerance for lossy files.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tests/imageio/test_support.h"

// Runs read(source, &width, &height, palette) over a memory source holding
// the file and collects the buffer as depth-bit packed rows.
template <class Read>
read_result read_codec(const std::vector<uint8_t>& file, int32_t depth, Read&& read)
{
    memory_source source(file);
    read_result r;
    r.depth = depth;
    uint8_t* buffer = read(source.get(), &r.width, &r.height, r.palette.data());
    r.error = is_get_last_error();
    r.has_buffer = buffer != nullptr;
    if (buffer) {
        r.pixels.assign(buffer, buffer + buffer_bytes(r.width, r.height, depth));
        is_global_free(buffer);
    }
    return r;
}

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
