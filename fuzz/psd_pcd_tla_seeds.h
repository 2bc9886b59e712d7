// Seed files of the PSD, TLA and Photo CD fuzz targets.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using seed_write_fn = void (*)(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes);

// Writes each target's seeds into root/<target>, and the files the generic
// read should meet into root/fuzz_generic_read (which must exist).
void write_psd_pcd_tla_seeds(const std::string& root, seed_write_fn write);
