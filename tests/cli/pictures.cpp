// Helper of the command-line tests: writes the test pictures into a folder
// and prints the pixels of a PNG file, so that the scripts compare text.
//   cli-test-pictures write DIR
//   cli-test-pictures dump FILE.png [X Y W H]
//     -> "W H CHANNELS" of the whole picture, then one line a row of the
//        picture or of the rectangle at (X, Y) of size W x H
#include "tests/writers/bmp_writer.h"
#include "tests/writers/gif_writer.h"
#include "tests/writers/jpeg_writer.h"
#include "tests/writers/pcd_writer.h"
#include "tests/writers/pcx_writer.h"
#include "tests/writers/png_writer.h"
#include "tests/writers/psd_writer.h"
#include "tests/writers/tga_writer.h"
#include "tests/writers/tiff_writer.h"
#include "tests/writers/tla_writer.h"
#include "tests/writers/wbmp_writer.h"
#include "tests/writers/write_file.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using bytes = std::vector<uint8_t>;

bytes bmp(int32_t width, int32_t height, uint16_t bits, std::vector<uint32_t> pixels)
{
    bmp_recipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.bit_count = bits;
    recipe.pixels = std::move(pixels);
    return make_bmp(recipe);
}

// A smooth 40 x 30 picture for resizing: red across, green down.
bytes gradient()
{
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < 30; ++y)
        for (uint32_t x = 0; x < 40; ++x)
            pixels.push_back((x * 6) << 16 | (y * 8) << 8 | 0x40);
    return bmp(40, 30, 24, pixels);
}

// Photoshop, TLA and Photo CD files, good and damaged.
struct named_file {
    const char* name;
    bytes data;
};

std::vector<named_file> layered_and_photo_cd()
{
    psd_recipe rgb;  // 2 x 1, run-length, with an alpha channel the reader leaves
    rgb.width = 2;
    rgb.channels = 4;
    rgb.compression = 1;
    rgb.rows = {{0xFF, 0x10}, {0x00, 0x20}, {0x00, 0x30}, {0x80, 0x80}};
    psd_recipe cmyk = rgb;
    cmyk.mode = 4;
    cmyk.rows[3] = {0xFF, 0x80};
    bytes cut = make_psd(rgb);
    cut.resize(cut.size() - 5);  // into the blue channel

    tla_recipe tla;  // 2 x 2 RGBA in two filtered blocks
    tla.pixel_format = 4;
    tla.width = 2;
    tla.height = 2;
    tla.pixels = {0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0x80, 0, 0, 0xFF, 0x00, 0x10, 0x20, 0x30, 0xFF};
    tla.blocks = {{1, 1}, {1, 7}};
    tla_recipe no_rows = tla;
    no_rows.blocks = {{1, 0}};

    pcd_recipe pcd;  // resolutions 1 to 3, neutral grey
    pcd.base = [](int, int plane, uint32_t, uint32_t) { return pcd_grey_base(plane, 100); };
    pcd_recipe overview = pcd;
    overview.overview = true;
    overview.stored = 1;
    return {
        {"layers.psd", make_psd(rgb)}, {"inks.psd", make_psd(cmyk)},     {"cut.psd", cut},
        {"tiles.tla", make_tla(tla)},  {"short.tla", make_tla(no_rows)}, {"photo.pcd", make_pcd(pcd)},
        {"album.pcd", make_pcd(overview)},
    };
}

int write_all(const std::string& dir)
{
    const bytes rgb = bmp(3, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0x405060, 0xFFFFFF});
    bytes truncated = rgb;
    truncated.resize(40);
    // A WBMP named .bmp, long enough for the detection's look at its end.
    bytes wbmp = make_wbmp(16, 2, std::vector<uint8_t>(16, 1));
    for (uint8_t i = 1; i <= 12; ++i)
        wbmp.push_back(i);
    const bytes wmf = {0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0, 0, 0, 0, 0, 0};
    std::vector<named_file> files = {
        {"rgb.bmp", rgb},
        {"rgb.txt", rgb},
        {"rgb-named.png", rgb},
        {"alpha.bmp", bmp(3, 1, 32, {0xFF102030, 0x80FF8040, 0x00FFFFFF})},
        {"opaque32.bmp", bmp(2, 1, 32, {0xFF102030, 0xFF405060})},
        {"gradient.bmp", gradient()},
        {"truncated.bmp", truncated},
        {"wireless.bmp", wbmp},
        {"drawing.wmf", wmf},
        {"words.jpg", bytes(100, 'x')},
        {"words", bytes(100, 'x')},
        // Two pixels, 0x102030 and 0xA0B0C0, in each format read without
        // loss (GIF through its palette), and a flat grey JPEG.
        {"two.gif", make_gif({.global_table = {0xA0B0C0, 0x102030},
                              .frames = {{.width = 2, .pixels = {1, 0}, .min_code_size = 2}}})},
        {"two.tga", make_tga({.width = 2, .pixels = {0x102030, 0xA0B0C0}})},
        {"two.pcx", make_pcx({.planes = 3, .width = 2, .pixels = {0x102030, 0xA0B0C0}})},
        {"two.png", make_png({.width = 2, .samples = {0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0}})},
        {"two.tif", make_tiff(tiff_recipe{.width = 2, .data = {0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0}})},
        {"grey.jpg", make_jpeg({.width = 8, .height = 8, .components = 1, .pixels = bytes(64, 0x80)})},
        // 16 x 8 grey, taken with the camera turned: shown 8 x 16.
        {"turned.jpg", make_jpeg({.width = 16, .height = 8, .components = 1, .pixels = bytes(128, 0x80),
                                  .markers = {{0xE1, exif_orientation_app1(6)}}})},
    };
    for (named_file& file : layered_and_photo_cd())
        files.push_back(std::move(file));
    for (const named_file& file : files)
        if (!write_file(dir + "/" + file.name, file.data)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), file.name);
            return 1;
        }
    return 0;
}

struct region {
    uint32_t x, y, width, height;
};

int dump(const char* path, const region* part)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) {
        std::fprintf(stderr, "%s: %s\n", path, image.message);
        return 1;
    }
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const int channels = alpha ? 4 : 3;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", path, image.message);
        return 1;
    }
    std::printf("%u %u %d\n", image.width, image.height, channels);
    const region whole = {0, 0, image.width, image.height};
    const region r = part ? *part : whole;
    if (r.x > image.width || r.y > image.height || r.width > image.width - r.x || r.height > image.height - r.y) {
        std::fprintf(stderr, "%s: the rectangle lies outside the picture\n", path);
        return 1;
    }
    for (uint32_t y = r.y; y < r.y + r.height; ++y) {
        for (uint32_t x = r.x; x < r.x + r.width; ++x) {
            const uint8_t* p = &pixels[((size_t)y * image.width + x) * channels];
            std::printf(x > r.x ? " " : "");
            for (int c = 0; c < channels; ++c)
                std::printf("%02x", p[c]);
        }
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && !std::strcmp(argv[1], "write"))
        return write_all(argv[2]);
    if (argc == 3 && !std::strcmp(argv[1], "dump"))
        return dump(argv[2], nullptr);
    if (argc == 7 && !std::strcmp(argv[1], "dump")) {
        const region part = {(uint32_t)std::strtoul(argv[3], nullptr, 10), (uint32_t)std::strtoul(argv[4], nullptr, 10),
                             (uint32_t)std::strtoul(argv[5], nullptr, 10), (uint32_t)std::strtoul(argv[6], nullptr, 10)};
        return dump(argv[2], &part);
    }
    std::fprintf(stderr, "usage: cli-test-pictures write DIR | dump FILE.png [X Y W H]\n");
    return 2;
}
