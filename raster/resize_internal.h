// Pieces shared by the resampler's methods and paths.
#pragma once
#include <cstddef>
#include <cstdint>

#include "raster/kit_scoped.h"
#include "raster/raster_image.h"
#include "raster/resize.h"
#include "raster/resize_paths.h"
#include "raster/resize_table.h"

enum class resize_shape { refused, empty, ready };

// Refused: missing or negative-sized images, colour types that differ or are
// not 1 or 3 bytes, or an empty source for a non-empty destination. Empty:
// the destination has no pixels, so there is nothing to write.
resize_shape resize_check(const raster_image* source, const raster_image* destination);

// 16.16 fixed point back to a byte: negative sums give 0, rounding to
// nearest, saturation at 255.
inline uint8_t resize_clamp(int32_t sum)
{
    if (sum < 0)
        return 0;
    const int32_t value = (sum + 32768) >> 16;
    return value > 255 ? 255 : (uint8_t)value;
}

// The fractions the progress callback receives: one per source row in the
// horizontal pass, one per destination column in the vertical pass.
inline double resize_row_fraction(int32_t y, int32_t source_height)
{
    return 0.5 * (y + 1) / source_height;
}
inline double resize_column_fraction(int32_t x, int32_t destination_width)
{
    return 0.5 + 0.5 * (x + 1) / destination_width;
}

// Convolves one channel of one line: output i is the weighted sum of
// line[offset] over entry i's pairs, stored every step bytes.
void resize_convolve(const uint8_t* line, const resize_table& table, uint8_t* out, ptrdiff_t step);

// Computes one intermediate row from one source row (row_bytes long).
using resize_row_fn = void (*)(const uint8_t* row, int32_t row_bytes, const resize_table& table, uint8_t* out);
void resize_row_gray(const uint8_t* row, int32_t row_bytes, const resize_table& table, uint8_t* out);
void resize_row_bgr(const uint8_t* row, int32_t row_bytes, const resize_table& table, uint8_t* out);

// Adds a row function's own form of the weights to a fresh table (its
// packed block); false when memory runs out.
using resize_prepare_fn = bool (*)(resize_table* table);

// Horizontal pass with table (source width onto the intermediate's width):
// source into the intermediate image (destination width, source height), one
// callback per row. False when stopped or out of memory.
bool resize_horizontal_pass(resize_progress_fn progress, const raster_image* source, raster_image* intermediate,
                            resize_table& table, resize_row_fn row_fn, resize_prepare_fn prepare);

// Vertical pass with table (intermediate height onto the destination's
// height) through a packed column buffer, one column at a time.
bool resize_vertical_columns(resize_progress_fn progress, const raster_image* intermediate,
                             raster_image* destination, const resize_table& table);

// Computes bytes bytes of one destination row: byte i is the weighted sum of
// byte i of the rows base + offset * stride over the pairs (offsets are row
// indices here).
using resize_rows_fn = void (*)(const uint8_t* base, ptrdiff_t stride, const resize_pair* pairs, int32_t count,
                                uint8_t* out, int32_t bytes);

// Vertical pass over strips of columns, each strip computed row by row; the
// callback still sees one call per column, before that column is written.
bool resize_vertical_strips(resize_progress_fn progress, const raster_image* intermediate,
                            raster_image* destination, resize_table& table, resize_rows_fn rows_fn);

// The filtered method with its two tables made by the caller: htable maps the
// source's width onto the destination's, vtable its height. The horizontal
// table is released once its pass is done.
bool resize_filtered_tables(resize_progress_fn progress, const raster_image* source, raster_image* destination,
                            resize_table& htable, resize_table& vtable, resize_path path);
