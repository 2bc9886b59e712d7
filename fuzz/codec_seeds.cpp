// Writes the seed corpora of the codec fuzz targets: small JPEG, PNG, TIFF
// and JPEG 2000 files of the kinds the readers handle, for each reader's own
// target and for the generic read.
#include "tests/imageio/codec_writers.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using file_list = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

void write_all(const std::string& folder, const file_list& files)
{
    mkdir(folder.c_str(), 0755);
    for (const auto& [name, bytes] : files) {
        FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
        if (!f)
            continue;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

std::vector<uint8_t> ramp(size_t count, int step)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < count; ++i)
        out.push_back((uint8_t)(i * step));
    return out;
}

file_list jpegs()
{
    file_list out;
    for (int components : {1, 3, 4}) {
        jpeg_spec recipe;
        recipe.width = 9;
        recipe.height = 7;
        recipe.components = components;
        recipe.pixels = ramp(9 * 7 * components, 5);
        recipe.comments = {"seed"};
        recipe.markers = {{0xE1, {'E', 'x', 'i', 'f', 0, 0}}};
        out.push_back({"c" + std::to_string(components) + ".jpg", make_jpeg(recipe)});
        recipe.progressive = true;
        recipe.quality = 60;
        out.push_back({"p" + std::to_string(components) + ".jpg", make_jpeg(recipe)});
    }
    return out;
}

file_list pngs()
{
    file_list out;
    const struct {
        int type;
        int depth;
        int channels;
    } kinds[] = {{0, 1, 1}, {0, 4, 1}, {0, 16, 1}, {2, 8, 3}, {2, 16, 3}, {3, 2, 1}, {3, 8, 1}, {4, 8, 2}, {6, 8, 4}};
    for (const auto& k : kinds) {
        png_spec recipe;
        recipe.width = 5;
        recipe.height = 4;
        recipe.color_type = k.type;
        recipe.bit_depth = k.depth;
        for (int i = 0; i < 5 * 4 * k.channels; ++i)
            recipe.samples.push_back((uint16_t)((i * 2654435761u) >> (32 - k.depth)));
        if (k.type == 3) {
            recipe.palette.assign(1u << k.depth, 0x336699);
            recipe.palette_alphas = {0, 128};
            recipe.has_background = true;
        }
        recipe.interlaced = k.depth == 8;
        recipe.texts = {{"Comment", "seed"}};
        out.push_back({"t" + std::to_string(k.type) + "d" + std::to_string(k.depth) + ".png", make_png(recipe)});
    }
    return out;
}

file_list tiffs()
{
    file_list out;
    tiff_spec rgb;
    rgb.width = 6;
    rgb.height = 5;
    rgb.orientation = 6;
    rgb.compression = 5;
    rgb.data = ramp(6 * 5 * 3, 7);
    tiff_spec grey;
    grey.width = 20;
    grey.height = 18;
    grey.samples = 1;
    grey.photometric = 1;
    grey.tile_size = 16;
    grey.data = ramp(20 * 18, 3);
    out.push_back({"rgb_lzw.tif", make_tiff(std::vector<tiff_spec>{rgb, grey})});
    tiff_spec fax;
    fax.width = 16;
    fax.height = 4;
    fax.samples = 1;
    fax.bits = 1;
    fax.photometric = 0;
    fax.compression = 4;
    fax.data = ramp(8, 37);
    out.push_back({"fax.tif", make_tiff(fax)});
    tiff_spec palette;
    palette.width = 4;
    palette.height = 2;
    palette.samples = 1;
    palette.bits = 4;
    palette.photometric = 3;
    palette.colormap.assign(48, 0x8000);
    palette.data = ramp(4, 17);
    out.push_back({"palette.tif", make_tiff(palette)});
    return out;
}

file_list j2ks()
{
    file_list out;
    for (int components : {1, 3, 4}) {
        j2k_spec recipe;
        recipe.width = 6;
        recipe.height = 5;
        recipe.color_space = components == 1 ? 2 : 1;
        for (int c = 0; c < components; ++c) {
            std::vector<int32_t> plane;
            for (int i = 0; i < 30; ++i)
                plane.push_back((i * 19 + c * 50) % 256);
            recipe.planes.push_back(plane);
        }
        out.push_back({"c" + std::to_string(components) + ".jp2", make_j2k(recipe)});
        recipe.jp2 = false;
        out.push_back({"c" + std::to_string(components) + ".j2k", make_j2k(recipe)});
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-codec-seeds FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    const std::pair<const char*, file_list> sets[] = {
        {"fuzz_jpeg", jpegs()}, {"fuzz_png", pngs()}, {"fuzz_tiff", tiffs()}, {"fuzz_j2k", j2ks()}};
    for (const auto& [target, files] : sets) {
        write_all(root + "/" + target, files);
        write_all(root + "/fuzz_generic_read", files);
    }
    return 0;
}
