// The seed files of the fuzz targets, a list a format: names and bytes.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using seed_list = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

seed_list bmp_seeds();
seed_list gif_seeds();
seed_list tga_seeds();
seed_list pcx_seeds();
seed_list wbmp_seeds();
seed_list psd_seeds();
seed_list tla_seeds();
seed_list pcd_seeds();  // inputs of the Photo CD target, not plain files
seed_list jpeg_seeds();
seed_list png_seeds();
seed_list tiff_seeds();
seed_list j2k_seeds();
