// Seed files of the GIF, TGA, PCX and WBMP fuzz targets.
#pragma once
#include <string>

// Writes each format's seeds into root/fuzz_<format> and into
// root/fuzz_generic_read; the folders must exist or be creatable.
void write_format_seeds(const std::string& root);
