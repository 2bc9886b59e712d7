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

uint64_t blur_workspace::bytes_for(int32_t max_radius, int32_t longest_line)
{
    const uint64_t taps = 2 * (uint64_t)max_radius + 1;
    return taps * (sizeof(int64_t) + sizeof(int32_t)) + (uint64_t)longest_line * (sizeof(blur_run) + 1);
}

blur_workspace::blur_workspace(int32_t max_radius, int32_t longest_line, void* memory)
    : max_radius(max_radius), longest_line(longest_line)
{
    if (!memory)
        return;
    // Sums first, so that every part keeps its natural alignment.
    sums = static_cast<int64_t*>(memory);
    runs = reinterpret_cast<blur_run*>(sums + 2 * max_radius + 1);
    weights = reinterpret_cast<int32_t*>(runs + longest_line);
    column_flags = reinterpret_cast<uint8_t*>(weights + 2 * max_radius + 1);
}

void blur_workspace::prepare(int32_t new_radius, double sigma)
{
    radius = new_radius;
    for (int32_t i = 0; i <= radius; ++i) {
        const auto weight = (int32_t)(std::exp(-(double)i * i / (2.0 * sigma * sigma)) * 65536.0 + 0.5);
        weights[radius + i] = weights[radius - i] = weight;
    }
    sums[0] = 0;
    for (int32_t k = 1; k <= 2 * radius; ++k)
        sums[k] = sums[k - 1] + weights[k - 1];
    total = sums[2 * radius];
    reciprocal = 1.0 / (double)total;
}
