// Parsing of the lengths, sizes and paper names given on the command line.
// Lengths come out in smm. Every parser returns false on text it does not
// take whole, leaving its output unchanged.
#pragma once
#include "poster/geometry.h"

#include <string_view>

// No margin, strip, paper or tile on the command line may reach this many smm
// (100 m); poster sides have their own range (poster_size.h).
constexpr double cli_length_limit = 10000000.0;

// A decimal number with a unit, "90cm", "35in", "120mm", into smm (not
// rounded: a poster side is rounded together with the side derived from it,
// and its range is checked there).
bool parse_length(const char* text, double* smm);

// Four millimetre values "L,T,R,B" into smm, each rounded half away from zero.
bool parse_mm_rect(const char* text, smm_rect* rect);

// Exactly count whole numbers, comma-separated, none negative.
bool parse_whole_numbers(std::string_view text, int32_t* values, int count);

// "L,T,R,B" in pixels: whole numbers, none negative, right not left of left
// and bottom not above top (a rectangle may be empty).
bool parse_pixel_rect(const char* text, int_rect* rect);

// "WxH" with positive whole numbers.
bool parse_int_size(const char* text, int_size* size);

// A paper name (A3, A4, A5, Letter, Legal, Tabloid, any case) or "WxHmm",
// into the paper's width and height in smm, portrait.
bool parse_paper(const char* text, smm_size* paper);

// The name of a paper size the command line knows ("A4"), or "".
const char* paper_name_of(smm_size paper);
