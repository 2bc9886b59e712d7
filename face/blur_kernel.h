// The Gaussian behind image_blur: the radius for a sigma, and one kit block
// holding the integer kernel, its prefix sums and the run buffer of a line.
#pragma once
#include <cstdint>

#include "raster/kit_scoped.h"

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

struct blur_kernel {
    // Weights for offsets -radius..radius in 16.16 fixed point, sums[k] the
    // total of the first k of them; only offsets -radius..radius-1 take part
    // in the blur, so their total, sums[2 radius], is the divisor.
    blur_kernel(int32_t radius, int32_t longest_line, double sigma);
    bool ready() const { return memory.block != nullptr; }

    int32_t radius;
    int64_t* sums = nullptr;     // 2 radius + 1 entries
    int32_t* weights = nullptr;  // 2 radius + 1 entries
    blur_run* runs = nullptr;    // longest_line entries
    int64_t total = 0;

private:
    scoped_block memory;
};
