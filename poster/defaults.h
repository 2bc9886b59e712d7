// Start-up values of the poster and its margins, and the tile used when no
// printer can be measured.
#pragma once
#include "poster/geometry.h"

// 64 x 90 cm when metric, 23 x 35 inches otherwise.
smm_size default_poster(bool metric);

// 5 mm left and top and 20 mm right and bottom when metric; a quarter inch
// and one inch otherwise.
smm_rect default_paper_margin(bool metric);

// The tile of an A4 sheet (210 x 297 mm) less the margins, for when there is
// no printer to measure.
smm_size a4_fallback_page(const smm_rect& margins);

// Raises each margin that is narrower than the printer's unprintable strip on
// its side to that strip.
void raise_margins_to_unprintable(smm_rect& margins, const smm_rect& unprintable);
