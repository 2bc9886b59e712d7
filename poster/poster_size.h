// Poster sizes asked for by the user, in smm: one side typed and the other
// following the crop's aspect, or both sides given.
#pragma once
#include "poster/geometry.h"

// A side of a poster must lie strictly between these (100 m at most).
constexpr double poster_side_min = 1.0;
constexpr double poster_side_max = 10000000.0;

enum class poster_side : int32_t { width = 1, height = 2 };

// Rounds to the nearest whole number, halves away from zero. Only for values
// well inside the 32-bit range.
int32_t round_half_away(double value);

// The poster whose side `side` is `length` smm and whose other side follows
// the crop's aspect, both rounded half away from zero. Refuses (false, *out
// unchanged) a crop without pixels and a side, given or derived, outside the
// open range poster_side_min .. poster_side_max.
bool poster_from_side(poster_side side, double length, int_size crop, smm_size* out);

// The poster of the given width and height in smm, rounded, within the same
// range.
bool poster_from_sides(double width, double height, smm_size* out);
