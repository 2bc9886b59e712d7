// Writes the seed corpora of the fuzz targets: small BMP files of every
// variant the reader knows, and for the generic read the start of each
// signature the detection knows as well.
#include "fuzz/psd_pcd_tla_seeds.h"
#include "fuzz/format_seeds.h"
#include "tests/imageio/bmp_writer.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

void write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> bitmaps()
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    const std::vector<uint32_t> indices = {0, 1, 2, 3, 1, 0, 3, 2, 1, 1, 0, 0};
    for (uint16_t bits : {1, 4, 8}) {
        bmp_spec recipe;
        recipe.width = 4;
        recipe.height = bits == 4 ? -3 : 3;
        recipe.bit_count = bits;
        recipe.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
        recipe.pixels = indices;
        for (uint32_t& p : recipe.pixels)
            p &= (1u << bits) - 1;
        out.push_back({"indexed" + std::to_string(bits) + ".bmp", make_bmp(recipe)});
        recipe.os2 = true;
        recipe.palette.resize(1u << bits, 0x808080);
        out.push_back({"os2_" + std::to_string(bits) + ".bmp", make_bmp(recipe)});
    }
    for (uint16_t bits : {16, 24, 32}) {
        bmp_spec recipe;
        recipe.width = 3;
        recipe.height = 2;
        recipe.bit_count = bits;
        recipe.pixels = {0x7FFF, 0x1234, 0x0421, 0x00FF, 0x8000, 0x0001};
        out.push_back({"rgb" + std::to_string(bits) + ".bmp", make_bmp(recipe)});
    }
    bmp_spec masked;
    masked.width = 2;
    masked.height = 2;
    masked.bit_count = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels = {0xF800, 0x07E0, 0x001F, 0xFFFF};
    out.push_back({"masks565.bmp", make_bmp(masked)});

    bmp_spec rle;
    rle.width = 4;
    rle.height = 3;
    rle.bit_count = 8;
    rle.compression = 1;
    rle.palette = {0x102030, 0xFF0000, 0x00FF00, 0x0000FF};
    rle.rle = {0x03, 0x01, 0x00, 0x00, 0x00, 0x03, 0x02, 0x03, 0x01, 0x00, 0x00, 0x00,
               0x00, 0x02, 0x02, 0x00, 0x02, 0x03, 0x00, 0x01};
    out.push_back({"rle8.bmp", make_bmp(rle)});
    rle.bit_count = 4;
    rle.compression = 2;
    rle.rle = {0x05, 0x12, 0x00, 0x00, 0x00, 0x03, 0x34, 0x50, 0x00, 0x05, 0x67, 0x89, 0xA0, 0x00, 0x00, 0x01};
    out.push_back({"rle4.bmp", make_bmp(rle)});
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    const std::string bmp = root + "/fuzz_bmp";
    const std::string generic = root + "/fuzz_generic_read";
    mkdir(root.c_str(), 0755);
    mkdir(bmp.c_str(), 0755);
    mkdir(generic.c_str(), 0755);
    for (const auto& [name, bytes] : bitmaps()) {
        write(bmp, name, bytes);
        write(generic, name, bytes);
    }
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> heads = {
        {"jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0}},
        {"png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}},
        {"gif", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
        {"tiff", {'I', 'I', 42, 0, 8, 0, 0, 0}},
        {"tla", {'T', 'L', 'A', 1}},
        {"wbmp", {0, 0, 8, 2, 0xFF, 0x00}},
        {"pcx", {0x0A, 0x05, 1, 8, 0, 0, 0, 0, 3, 0, 3, 0}},
    };
    for (const auto& [name, bytes] : heads)
        write(generic, name, bytes);
    write_psd_pcd_tla_seeds(root, write);
    write_format_seeds(root);
    return 0;
}
