// Seeds for the PSD, TLA and Photo CD targets (and the generic read): small
// valid files of each variant, made by the tests' writers.
#include "fuzz/psd_pcd_tla_seeds.h"

#include "tests/imageio/pcd_writer.h"
#include "tests/imageio/psd_writer.h"
#include "tests/imageio/tla_writer.h"

#include <sys/stat.h>

namespace {

using bytes = std::vector<uint8_t>;

std::vector<std::pair<std::string, bytes>> psd_files()
{
    std::vector<std::pair<std::string, bytes>> out;
    psd_spec rgb;
    rgb.width = 3;
    rgb.height = 2;
    rgb.channels = 4;
    for (int c = 0; c < 4; ++c)
        for (int y = 0; y < 2; ++y)
            rgb.rows.push_back({(uint8_t)(c * 40 + y), (uint8_t)(c * 40 + y), 9});
    rgb.resources = image_resource_block(1005, "", bytes(16, 1));
    out.push_back({"rgb_raw.psd", make_psd(rgb)});
    rgb.compression = 1;
    rgb.layers = bytes(6, 0);
    out.push_back({"rgb_rle.psd", make_psd(rgb)});

    psd_spec cmyk = rgb;
    cmyk.mode = 4;
    out.push_back({"cmyk_rle.psd", make_psd(cmyk)});

    psd_spec grey;
    grey.mode = 1;
    grey.channels = 1;
    grey.width = 4;
    grey.height = 2;
    grey.bits = 16;
    grey.rows = {bytes(8, 0x40), bytes(8, 0x80)};
    out.push_back({"grey16.psd", make_psd(grey)});

    psd_spec indexed;
    indexed.mode = 2;
    indexed.channels = 1;
    indexed.width = 3;
    indexed.rows = {{0, 1, 2}};
    indexed.color_data = psd_color_table({0xFF0000, 0x00FF00, 0x0000FF});
    indexed.compression = 1;
    out.push_back({"indexed.psd", make_psd(indexed)});

    psd_spec bitmap;
    bitmap.mode = 0;
    bitmap.bits = 1;
    bitmap.channels = 1;
    bitmap.width = 10;
    bitmap.height = 2;
    bitmap.rows = {{0xA5, 0xC0}, {0x0F, 0x40}};
    out.push_back({"bitmap.psd", make_psd(bitmap)});
    return out;
}

std::vector<std::pair<std::string, bytes>> tla_files()
{
    std::vector<std::pair<std::string, bytes>> out;
    for (uint16_t format : {1, 2, 3, 4}) {
        tla_spec recipe;
        recipe.pixel_format = format;
        recipe.width = 5;
        recipe.height = 4;
        if (format == 1)
            recipe.palette = {0xFF000000, 0x80FF0000, 0x0000FF00, 0xFF0000FF};
        for (uint32_t i = 0; i < 5u * 4 * format; ++i)
            recipe.pixels.push_back((uint8_t)(format == 1 ? i % 4 : i * 29));
        recipe.tags = {{1, 2, 3}};
        recipe.blocks = {{1, 0}, {2, 7}, {1, 4}};
        out.push_back({"format" + std::to_string(format) + ".tla", make_tla(recipe)});
    }
    return out;
}

// Difference streams for the target's odd first byte: selector, width and
// height bytes, then the stream.
std::vector<std::pair<std::string, bytes>> pcd_inputs()
{
    std::vector<std::pair<std::string, bytes>> out;
    const std::vector<pcd_code> codes = pcd_default_codes();
    const pcd_stream one = encode_pcd_differences(
        {{codes}, {{1, 0, {1, -1, 10, 0, 100, 0, 0, -128}}, {2, 2, {1, 1, 1, 1}}, {3, 3, {-10, 0, 0, 0}}}, 4});
    bytes input = {1, 0, 1};
    input.insert(input.end(), one.bytes.begin(), one.bytes.end());
    out.push_back({"differences_res4", input});
    const pcd_stream three = encode_pcd_differences({{codes, codes, codes}, {{0, 0, {1, 1}}, {2, 2, {10}}}, 4});
    input = {3, 0, 1};
    input.insert(input.end(), three.bytes.begin(), three.bytes.end());
    out.push_back({"differences_res5", input});

    pcd_spec pack;
    pack.stored = 1;
    pack.rotation = 3;
    pack.base = [](int, int plane, uint32_t x, uint32_t y) -> uint8_t { return (uint8_t)(x * 3 + y + plane * 50); };
    input = {0};
    const bytes file = make_pcd(pack);
    input.insert(input.end(), file.begin(), file.end());
    out.push_back({"pack_res1", input});
    return out;
}

}  // namespace

void write_psd_pcd_tla_seeds(const std::string& root, seed_write_fn write)
{
    const std::string psd = root + "/fuzz_psd", tla = root + "/fuzz_tla", pcd = root + "/fuzz_pcd";
    const std::string generic = root + "/fuzz_generic_read";
    for (const std::string& folder : {psd, tla, pcd})
        mkdir(folder.c_str(), 0755);
    for (const auto& [name, file] : psd_files()) {
        write(psd, name, file);
        write(generic, name, file);
    }
    for (const auto& [name, file] : tla_files()) {
        write(tla, name, file);
        write(generic, name, file);
    }
    for (const auto& [name, input] : pcd_inputs())
        write(pcd, name, input);
}
