#include "face/blur_kernel.h"

#include <cmath>

#include "face/face_effects.h"

int32_t gaussian_radius(double sigma)
{
    const double reach = std::sqrt(2.0 * sigma * sigma * std::log(255.0));
    if (!(reach >= 0.5))
        return 0;
    if (reach > blur_radius_limit)
        return -1;
    return (int32_t)std::ceil(reach);
}

namespace {

uint64_t kernel_bytes(int32_t radius, int32_t longest_line)
{
    const uint64_t taps = 2 * (uint64_t)radius + 1;
    return taps * (sizeof(int64_t) + sizeof(int32_t)) + (uint64_t)longest_line * sizeof(blur_run);
}

}  // namespace

blur_kernel::blur_kernel(int32_t radius, int32_t longest_line, double sigma)
    : radius(radius), memory(kit_alloc(kernel_bytes(radius, longest_line)))
{
    if (!memory.block)
        return;
    // Sums first, so that every part keeps its natural alignment.
    const int32_t taps = 2 * radius + 1;
    sums = static_cast<int64_t*>(memory.block);
    runs = reinterpret_cast<blur_run*>(sums + taps);
    weights = reinterpret_cast<int32_t*>(runs + longest_line);
    for (int32_t i = 0; i <= radius; ++i) {
        const auto weight = (int32_t)(std::exp(-(double)i * i / (2.0 * sigma * sigma)) * 65536.0 + 0.5);
        weights[radius + i] = weights[radius - i] = weight;
    }
    sums[0] = 0;
    for (int32_t k = 1; k < taps; ++k)
        sums[k] = sums[k - 1] + weights[k - 1];
    total = sums[2 * radius];
}
