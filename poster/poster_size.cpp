// Poster sizes from lengths the user gives.
#include "poster/poster_size.h"

namespace {

bool side_in_range(double length)
{
    return length > poster_side_min && length < poster_side_max;
}

}  // namespace

int32_t round_half_away(double value)
{
    return static_cast<int32_t>(value < 0 ? value - 0.5 : value + 0.5);
}

bool poster_from_side(poster_side side, double length, int_size crop, smm_size* out)
{
    if (crop.width <= 0 || crop.height <= 0)
        return false;
    const double ratio = side == poster_side::width ? static_cast<double>(crop.height) / crop.width
                                                    : static_cast<double>(crop.width) / crop.height;
    const double other = length * ratio;
    if (!side_in_range(length) || !side_in_range(other))
        return false;
    if (side == poster_side::width)
        *out = {round_half_away(length), round_half_away(other)};
    else
        *out = {round_half_away(other), round_half_away(length)};
    return true;
}

bool poster_from_sides(double width, double height, smm_size* out)
{
    if (!side_in_range(width) || !side_in_range(height))
        return false;
    *out = {round_half_away(width), round_half_away(height)};
    return true;
}
