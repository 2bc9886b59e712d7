// Text on the printed sheets: one line of the built-in font rendered into a
// picture of its own, grey coverage blended from the paper's colour to the
// ink's, so that the printer and tilora-cli get the very same pixels.
#pragma once
#include <cstdint>
#include <string_view>

#include "raster/owned_image.h"

// The line's picture, PIXEL_BGR24, as tall as the font's line at
// pixel_height (ascent plus descent) and as wide as its advance; colours are
// 0xRRGGBB. Null for an empty text, a height outside 1 .. 2000 or when the
// font cannot be read or memory runs out.
owned_image render_text_line(std::string_view text, int32_t pixel_height, uint32_t ink, uint32_t paper);

// The picture turned a quarter: clockwise (the top of the text to the right)
// or counter-clockwise (reading upwards). Null when memory runs out.
owned_image turn_quarter(const raster_image* image, bool clockwise);
