// The seed files of the fuzz targets: small valid files of every variant
// each reader knows, made by the tests' writers.
#include "fuzz/seed_files.h"

#include "tests/writers/bmp_writer.h"
#include "tests/writers/gif_writer.h"
#include "tests/writers/j2k_writer.h"
#include "tests/writers/jpeg_writer.h"
#include "tests/writers/pcd_writer.h"
#include "tests/writers/pcx_writer.h"
#include "tests/writers/png_writer.h"
#include "tests/writers/psd_writer.h"
#include "tests/writers/tga_writer.h"
#include "tests/writers/tiff_writer.h"
#include "tests/writers/tla_writer.h"
#include "tests/writers/wbmp_writer.h"

namespace {

using bytes = std::vector<uint8_t>;

std::vector<uint8_t> mixed_ramp(size_t count, uint32_t modulo)
{
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = (uint8_t)((i * 7 + i / 5) % modulo);
    return out;
}

std::vector<uint8_t> step_ramp(size_t count, int step)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < count; ++i)
        out.push_back((uint8_t)(i * step));
    return out;
}

}  // namespace

seed_list bmp_seeds()
{
    seed_list out;
    const std::vector<uint32_t> indices = {0, 1, 2, 3, 1, 0, 3, 2, 1, 1, 0, 0};
    for (uint16_t bits : {1, 4, 8}) {
        bmp_recipe recipe;
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
        bmp_recipe recipe;
        recipe.width = 3;
        recipe.height = 2;
        recipe.bit_count = bits;
        recipe.pixels = {0x7FFF, 0x1234, 0x0421, 0x00FF, 0x8000, 0x0001};
        out.push_back({"rgb" + std::to_string(bits) + ".bmp", make_bmp(recipe)});
    }
    bmp_recipe masked;
    masked.width = 2;
    masked.height = 2;
    masked.bit_count = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels = {0xF800, 0x07E0, 0x001F, 0xFFFF};
    out.push_back({"masks565.bmp", make_bmp(masked)});

    bmp_recipe rle;
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

seed_list gif_seeds()
{
    seed_list out;
    gif_recipe recipe;
    recipe.global_table = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    gif_frame frame;
    frame.width = 6;
    frame.height = 5;
    frame.min_code_size = 2;
    frame.pixels = mixed_ramp(30, 4);
    recipe.frames = {frame};
    out.push_back({"plain.gif", make_gif(recipe)});

    recipe.frames[0].interlaced = true;
    recipe.frames[0].transparent = 3;
    recipe.frames[0].block_size = 5;
    out.push_back({"interlaced.gif", make_gif(recipe)});

    gif_recipe animated = recipe;
    animated.version = "87a";
    animated.loop_count = 0;
    animated.comment = "seed";
    animated.frames[0].local_table = {0x102030, 0x405060};
    animated.frames[0].min_code_size = 3;
    animated.frames.push_back(frame);
    out.push_back({"animated.gif", make_gif(animated)});

    gif_recipe full = recipe;
    full.frames[0] = frame;
    full.frames[0].width = 40;
    full.frames[0].height = 110;
    full.frames[0].min_code_size = 8;
    full.frames[0].pixels = mixed_ramp(4400, 251);
    full.frames[0].clear_when_full = false;
    out.push_back({"full_table.gif", make_gif(full)});

    gif_recipe wide = full;  // codes 12 bits wide from the start
    wide.global_table.assign(256, 0x808080);
    wide.frames[0].min_code_size = 11;
    wide.frames[0].clear_when_full = true;
    out.push_back({"code_size_11.gif", make_gif(wide)});
    return out;
}

seed_list tga_seeds()
{
    seed_list out;
    const std::vector<uint32_t> colours = {0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF};
    for (uint8_t type : {2, 10}) {
        for (uint8_t bits : {16, 24, 32}) {
            tga_recipe recipe;
            recipe.image_type = type;
            recipe.pixel_bits = bits;
            recipe.width = 3;
            recipe.height = 2;
            recipe.top_down = bits == 24;
            recipe.right_to_left = bits == 32;
            recipe.pixels = colours;
            recipe.footer = true;  // without a name, only the footer tells the generic read it is a TGA
            out.push_back({"rgb" + std::to_string(bits) + "_" + std::to_string(type) + ".tga", make_tga(recipe)});
        }
    }
    for (uint8_t type : {1, 9}) {
        tga_recipe recipe;
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
        tga_recipe recipe;
        recipe.image_type = type;
        recipe.pixel_bits = 8;
        recipe.width = 5;
        recipe.height = 2;
        recipe.pixels = {0, 0, 0, 128, 255, 255, 255, 7, 8, 9};
        recipe.footer = true;
        recipe.extension = recipe.developer = type == 11;
        out.push_back({"grey_" + std::to_string(type) + ".tga", make_tga(recipe)});
        // Grey level and alpha.
        recipe.pixel_bits = 16;
        recipe.alpha_bits = 8;
        for (uint32_t& p : recipe.pixels)
            p |= 0x8000;
        out.push_back({"grey16_" + std::to_string(type) + ".tga", make_tga(recipe)});
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
        pcx_recipe recipe;
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
    return {{"small.wbmp", make_wbmp(10, 3, mixed_ramp(30, 2))}, {"wide.wbmp", make_wbmp(130, 2, mixed_ramp(260, 2))}};
}

seed_list psd_seeds()
{
    seed_list out;
    psd_recipe rgb;
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

    psd_recipe cmyk = rgb;
    cmyk.mode = 4;
    out.push_back({"cmyk_rle.psd", make_psd(cmyk)});

    psd_recipe grey;
    grey.mode = 1;
    grey.channels = 1;
    grey.width = 4;
    grey.height = 2;
    grey.bits = 16;
    grey.rows = {bytes(8, 0x40), bytes(8, 0x80)};
    out.push_back({"grey16.psd", make_psd(grey)});

    psd_recipe indexed;
    indexed.mode = 2;
    indexed.channels = 1;
    indexed.width = 3;
    indexed.rows = {{0, 1, 2}};
    indexed.color_data = psd_color_table({0xFF0000, 0x00FF00, 0x0000FF});
    indexed.compression = 1;
    out.push_back({"indexed.psd", make_psd(indexed)});

    psd_recipe bitmap;
    bitmap.mode = 0;
    bitmap.bits = 1;
    bitmap.channels = 1;
    bitmap.width = 10;
    bitmap.height = 2;
    bitmap.rows = {{0xA5, 0xC0}, {0x0F, 0x40}};
    out.push_back({"bitmap.psd", make_psd(bitmap)});
    return out;
}

seed_list tla_seeds()
{
    seed_list out;
    for (uint16_t format : {1, 2, 3, 4}) {
        tla_recipe recipe;
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

// The Photo CD target's inputs, whose first byte chooses: odd, a difference
// stream behind width and height bytes; even, a whole image pack.
seed_list pcd_seeds()
{
    seed_list out;
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

    pcd_recipe pack;
    pack.stored = 1;
    pack.rotation = 3;
    pack.base = [](int, int plane, uint32_t x, uint32_t y) -> uint8_t { return (uint8_t)(x * 3 + y + plane * 50); };
    input = {0};
    const bytes file = make_pcd(pack);
    input.insert(input.end(), file.begin(), file.end());
    out.push_back({"pack_res1", input});
    return out;
}

seed_list jpeg_seeds()
{
    seed_list out;
    for (int components : {1, 3, 4}) {
        jpeg_recipe recipe;
        recipe.width = 9;
        recipe.height = 7;
        recipe.components = components;
        recipe.pixels = step_ramp(9 * 7 * components, 5);
        recipe.comments = {"seed"};
        recipe.markers = {{0xE1, {'E', 'x', 'i', 'f', 0, 0}}};
        out.push_back({"c" + std::to_string(components) + ".jpg", make_jpeg(recipe)});
        recipe.progressive = true;
        recipe.quality = 60;
        out.push_back({"p" + std::to_string(components) + ".jpg", make_jpeg(recipe)});
    }
    return out;
}

seed_list png_seeds()
{
    seed_list out;
    const struct {
        int type;
        int depth;
        int channels;
    } kinds[] = {{0, 1, 1}, {0, 4, 1}, {0, 16, 1}, {2, 8, 3}, {2, 16, 3}, {3, 2, 1}, {3, 8, 1}, {4, 8, 2}, {6, 8, 4}};
    for (const auto& k : kinds) {
        png_recipe recipe;
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

seed_list tiff_seeds()
{
    seed_list out;
    tiff_recipe rgb;
    rgb.width = 6;
    rgb.height = 5;
    rgb.orientation = 6;
    rgb.compression = 5;
    rgb.data = step_ramp(6 * 5 * 3, 7);
    tiff_recipe grey;
    grey.width = 20;
    grey.height = 18;
    grey.samples = 1;
    grey.photometric = 1;
    grey.tile_size = 16;
    grey.data = step_ramp(20 * 18, 3);
    out.push_back({"rgb_lzw.tif", make_tiff(std::vector<tiff_recipe>{rgb, grey})});
    tiff_recipe fax;
    fax.width = 16;
    fax.height = 4;
    fax.samples = 1;
    fax.bits = 1;
    fax.photometric = 0;
    fax.compression = 4;
    fax.data = step_ramp(8, 37);
    out.push_back({"fax.tif", make_tiff(fax)});
    tiff_recipe palette;
    palette.width = 4;
    palette.height = 2;
    palette.samples = 1;
    palette.bits = 4;
    palette.photometric = 3;
    palette.colormap.assign(48, 0x8000);
    palette.data = step_ramp(4, 17);
    out.push_back({"palette.tif", make_tiff(palette)});
    return out;
}

seed_list j2k_seeds()
{
    seed_list out;
    for (int components : {1, 3, 4}) {
        j2k_recipe recipe;
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
