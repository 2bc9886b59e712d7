// Scaling by a ratio of integers: truncating, and rounding as MulDiv does.
#include "poster/geometry.h"

int32_t mul_div64(int32_t a, int32_t b, int32_t divisor)
{
    if (divisor == 0)
        return 0;
    // |a * b| < 2^62, so neither the product nor the quotient can overflow.
    return static_cast<int32_t>(static_cast<int64_t>(a) * b / divisor);
}

int32_t win_mul_div64(int64_t a, int64_t b, int64_t divisor)
{
    if (divisor == 0)
        return -1;
    if (divisor < 0) {
        a = -a;
        divisor = -divisor;
    }
    int64_t product = a * b;
    // Half the divisor moves the quotient away from zero before truncation.
    int64_t half = divisor / 2;
    int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > INT32_MAX || result < -INT32_MAX)
        return -1;
    return static_cast<int32_t>(result);
}

int32_t win_mul_div(int32_t a, int32_t b, int32_t divisor)
{
    return win_mul_div64(a, b, divisor);
}
