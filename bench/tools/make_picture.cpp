// Writes a photo-like JPEG for the scale benchmarks: smooth colour waves with
// a little grain, the way camera pictures compress.
//   tilora-bench-picture WIDTH HEIGHT OUT.jpg
#include "tests/writers/jpeg_writer.h"
#include "tests/writers/write_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: tilora-bench-picture WIDTH HEIGHT OUT.jpg\n");
        return 2;
    }
    jpeg_recipe recipe;
    recipe.width = (uint32_t)std::strtoul(argv[1], nullptr, 10);
    recipe.height = (uint32_t)std::strtoul(argv[2], nullptr, 10);
    recipe.quality = 90;
    recipe.pixels.resize((size_t)recipe.width * recipe.height * 3);
    uint32_t noise = 12345;
    uint8_t* out = recipe.pixels.data();
    for (uint32_t y = 0; y < recipe.height; ++y) {
        const double v = (double)y / recipe.height;
        for (uint32_t x = 0; x < recipe.width; ++x) {
            const double u = (double)x / recipe.width;
            const double wave[3] = {std::sin(u * 9.0 + v * 4.0), std::sin(v * 7.0 - u * 3.0),
                                    std::sin((u + v) * 13.0)};
            for (int c = 0; c < 3; ++c) {
                noise = noise * 1664525u + 1013904223u;
                const int value = 128 + (int)(100.0 * wave[c]) + (int)(noise >> 28) - 8;
                *out++ = (uint8_t)(value < 0 ? 0 : value > 255 ? 255 : value);
            }
        }
    }
    return write_file(argv[3], make_jpeg(recipe)) ? 0 : 1;
}
