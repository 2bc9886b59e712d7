// The Gaussian behind image_blur: the radius for a sigma, and the working
// memory of a blur, one kit block holding the integer kernel, its prefix
// sums, the run buffer of one line and a flag for each column.
#pragma once
#include <cstdint>


// The distance at which the Gaussian falls to 1/255, rounded up; 0 when that
// is below half a pixel (or sigma is not a number), -1 beyond
// blur_radius_limit.
int32_t gaussian_radius(double sigma);

// One value of a line and how many equal values follow from it on, itself
// included.
struct blur_run {
    int32_t value;
    int32_t length;
};

// Room for kernels up to max_radius and lines up to longest_line, so that
// several blurs can share one block; prepare() builds the kernel of one sigma.
struct blur_workspace {
    static uint64_t bytes_for(int32_t max_radius, int32_t longest_line);
    // Lays the workspace out in bytes_for() bytes at memory, aligned for
    // 64-bit values and owned by the caller; null memory gives a workspace
    // that is not ready.
    blur_workspace(int32_t max_radius, int32_t longest_line, void* memory);
    bool ready() const { return sums != nullptr; }
    bool fits(int32_t radius, int32_t line) const { return radius <= max_radius && line <= longest_line; }

    // Weights for offsets -radius..radius in 16.16 fixed point, sums[k] the
    // total of the first k of them; only offsets -radius..radius-1 take part
    // in the blur, so their total, sums[2 radius], is the divisor.
    void prepare(int32_t radius, double sigma);

    const int32_t max_radius, longest_line;
    int32_t radius = 0;
    int64_t* sums = nullptr;          // up to 2 max_radius + 1 entries
    int32_t* weights = nullptr;       // up to 2 max_radius + 1 entries
    blur_run* runs = nullptr;         // longest_line entries
    uint8_t* column_flags = nullptr;  // longest_line entries
    int64_t total = 0;
    double reciprocal = 0;  // 1 / total
};
