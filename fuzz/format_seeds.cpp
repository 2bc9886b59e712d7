// Small valid files of every variant the GIF, TGA, PCX and WBMP readers know,
// made by the tests' writers.
#include "fuzz/format_seeds.h"

#include "tests/imageio/gif_writer.h"
#include "tests/imageio/pcx_writer.h"
#include "tests/imageio/tga_writer.h"

#include <cstdio>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using seed_list = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

std::vector<uint8_t> ramp(size_t count, uint32_t modulo)
{
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = (uint8_t)((i * 7 + i / 5) % modulo);
    return out;
}

seed_list gif_seeds()
{
    seed_list out;
    gif_spec recipe;
    recipe.global_table = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    gif_frame frame;
    frame.width = 6;
    frame.height = 5;
    frame.min_code_size = 2;
    frame.pixels = ramp(30, 4);
    recipe.frames = {frame};
    out.push_back({"plain.gif", make_gif(recipe)});

    recipe.frames[0].interlaced = true;
    recipe.frames[0].transparent = 3;
    recipe.frames[0].block_size = 5;
    out.push_back({"interlaced.gif", make_gif(recipe)});

    gif_spec animated = recipe;
    animated.version = "87a";
    animated.loop_count = 0;
    animated.comment = "seed";
    animated.frames[0].local_table = {0x102030, 0x405060};
    animated.frames[0].min_code_size = 3;
    animated.frames.push_back(frame);
    out.push_back({"animated.gif", make_gif(animated)});

    gif_spec full = recipe;
    full.frames[0] = frame;
    full.frames[0].width = 40;
    full.frames[0].height = 110;
    full.frames[0].min_code_size = 8;
    full.frames[0].pixels = ramp(4400, 251);
    full.frames[0].clear_when_full = false;
    out.push_back({"full_table.gif", make_gif(full)});
    return out;
}

seed_list tga_seeds()
{
    seed_list out;
    const std::vector<uint32_t> colours = {0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF};
    for (uint8_t type : {2, 10}) {
        for (uint8_t bits : {16, 24, 32}) {
            tga_spec recipe;
            recipe.image_type = type;
            recipe.pixel_bits = bits;
            recipe.width = 3;
            recipe.height = 2;
            recipe.top_down = bits == 24;
            recipe.pixels = colours;
            recipe.footer = true;  // without a name, only the footer tells the generic read it is a TGA
            out.push_back({"rgb" + std::to_string(bits) + "_" + std::to_string(type) + ".tga", make_tga(recipe)});
        }
    }
    for (uint8_t type : {1, 9}) {
        tga_spec recipe;
        recipe.image_type = type;
        recipe.pixel_bits = 8;
        recipe.width = 4;
        recipe.height = 2;
        recipe.map_first = 1;
        recipe.map_entry_bits = type == 1 ? 24 : 16;
        recipe.map = {0x112233, 0x445566, 0x778899};
        recipe.pixels = {1, 2, 3, 3, 3, 1, 1, 2};
        recipe.id = {'s', 'e', 'e', 'd'};
        recipe.footer = true;
        out.push_back({"mapped_" + std::to_string(type) + ".tga", make_tga(recipe)});
    }
    for (uint8_t type : {3, 11}) {
        tga_spec recipe;
        recipe.image_type = type;
        recipe.pixel_bits = 8;
        recipe.width = 5;
        recipe.height = 2;
        recipe.pixels = {0, 0, 0, 128, 255, 255, 255, 7, 8, 9};
        recipe.footer = true;
        recipe.extension = recipe.developer = type == 11;
        out.push_back({"grey_" + std::to_string(type) + ".tga", make_tga(recipe)});
    }
    return out;
}

seed_list pcx_seeds()
{
    seed_list out;
    struct layout {
        uint8_t bits;
        uint8_t planes;
    };
    for (layout l : {layout{1, 1}, layout{2, 1}, layout{1, 4}, layout{4, 1}, layout{8, 1}, layout{8, 3}}) {
        pcx_spec recipe;
        recipe.bits_per_plane = l.bits;
        recipe.planes = l.planes;
        recipe.width = 9;
        recipe.height = 3;
        recipe.header_palette = {0x000000, 0xFFFFFF, 0x808080, 0xFF0000};
        const uint32_t total = (uint32_t)l.bits * l.planes;
        for (uint32_t i = 0; i < 27; ++i)
            recipe.pixels.push_back(total == 24 ? 0x10101 * (i * 9) : (i * 5) & ((1u << total) - 1));
        if (total == 8)
            recipe.palette.assign(256, 0x204060);
        out.push_back({"pcx" + std::to_string(l.bits) + "x" + std::to_string(l.planes) + ".pcx", make_pcx(recipe)});
    }
    return out;
}

seed_list wbmp_seeds()
{
    return {{"small.wbmp", make_wbmp(10, 3, ramp(30, 2))}, {"wide.wbmp", make_wbmp(130, 2, ramp(260, 2))}};
}

void write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    mkdir(folder.c_str(), 0755);
    FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

void write_format_seeds(const std::string& root)
{
    const std::pair<const char*, seed_list> groups[] = {
        {"fuzz_gif", gif_seeds()}, {"fuzz_tga", tga_seeds()}, {"fuzz_pcx", pcx_seeds()}, {"fuzz_wbmp", wbmp_seeds()}};
    for (const auto& [target, seeds] : groups) {
        for (const auto& [name, bytes] : seeds) {
            write(root + "/" + target, name, bytes);
            write(root + "/fuzz_generic_read", name, bytes);
        }
    }
}
