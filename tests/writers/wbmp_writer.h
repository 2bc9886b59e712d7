// Builds WBMP files in memory for the tests and the fuzz seeds.
#pragma once
#include <cstdint>
#include <vector>

// A type-0 WBMP; pixels top row first, 1 white. Width and height are written
// as multi-byte integers.
std::vector<uint8_t> make_wbmp(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels);

// A WBMP multi-byte integer.
std::vector<uint8_t> wbmp_number(uint64_t value);
