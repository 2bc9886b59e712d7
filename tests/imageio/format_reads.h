// Reads through the PSD, TLA and Photo CD entry points that hand back a
// read_result (bytes copied, buffer freed, last error taken).
#pragma once
#include <cstdint>
#include <vector>

#include "tests/imageio/test_support.h"

read_result read_psd(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0);
read_result read_tla(const std::vector<uint8_t>& file, int32_t mode, uint32_t flags = 0);
read_result read_pcd(const std::vector<uint8_t>& file, int32_t resolution, uint32_t flags = 0);

// Bytes of a packed bitmap as its header describes it.
uint64_t packed_dib_bytes(const uint8_t* dib);

// Red, green, blue of pixel (x, y) of a 24-bit result.
std::vector<uint8_t> rgb_at(const read_result& r, uint32_t x, uint32_t y);
