// Helper of the command-line tests: writes the test pictures into a folder
// and prints the pixels of a PNG file, so that the scripts compare text.
//   cli-test-pictures write DIR
//   cli-test-pictures dump FILE.png [X Y W H]
//     -> "W H CHANNELS" of the whole picture, then one line a row of the
//        picture or of the rectangle at (X, Y) of size W x H
#include "tests/imageio/bmp_writer.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool save(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> bmp(int32_t width, int32_t height, uint16_t bits, std::vector<uint32_t> pixels)
{
    bmp_spec recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.bit_count = bits;
    recipe.pixels = std::move(pixels);
    return make_bmp(recipe);
}

// A smooth 40 x 30 picture for resizing: red across, green down.
std::vector<uint8_t> gradient()
{
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < 30; ++y)
        for (uint32_t x = 0; x < 40; ++x)
            pixels.push_back((x * 6) << 16 | (y * 8) << 8 | 0x40);
    return bmp(40, 30, 24, pixels);
}

int write_all(const std::string& dir)
{
    const std::vector<uint8_t> rgb = bmp(3, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0x405060, 0xFFFFFF});
    std::vector<uint8_t> truncated = rgb;
    truncated.resize(40);
    const std::vector<uint8_t> wbmp = {0, 0, 16, 2, 0xFF, 0xFF, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::vector<uint8_t> wmf = {0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0, 0, 0, 0, 0, 0};
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } files[] = {
        {"rgb.bmp", rgb},
        {"rgb.txt", rgb},
        {"rgb-named.png", rgb},
        {"alpha.bmp", bmp(3, 1, 32, {0xFF102030, 0x80FF8040, 0x00FFFFFF})},
        {"opaque32.bmp", bmp(2, 1, 32, {0xFF102030, 0xFF405060})},
        {"gradient.bmp", gradient()},
        {"truncated.bmp", truncated},
        {"wireless.bmp", wbmp},
        {"drawing.wmf", wmf},
        {"words.jpg", std::vector<uint8_t>(100, 'x')},
        {"words", std::vector<uint8_t>(100, 'x')},
    };
    for (const auto& file : files)
        if (!save(dir + "/" + file.name, file.bytes)) {
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

// psd_pcd_tla_pictures.cpp
int write_psd_pcd_tla(const std::string& dir, bool (*save)(const std::string& path, const std::vector<uint8_t>& data));

int main(int argc, char** argv)
{
    if (argc == 3 && !std::strcmp(argv[1], "write"))
        return write_all(argv[2]);
    if (argc == 3 && !std::strcmp(argv[1], "write-psd-pcd-tla"))
        return write_psd_pcd_tla(argv[2], save);
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
