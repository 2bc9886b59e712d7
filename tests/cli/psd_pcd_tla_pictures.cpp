// The Photoshop, TLA and Photo CD files of the command-line tests.
#include "tests/imageio/pcd_writer.h"
#include "tests/imageio/psd_writer.h"
#include "tests/imageio/tla_writer.h"

#include <cstdio>
#include <string>
#include <vector>

using bytes = std::vector<uint8_t>;

int write_psd_pcd_tla(const std::string& dir, bool (*save)(const std::string& path, const bytes& data))
{
    psd_spec rgb;  // 2 x 1, run-length, with an alpha channel the reader leaves
    rgb.width = 2;
    rgb.channels = 4;
    rgb.compression = 1;
    rgb.rows = {{0xFF, 0x10}, {0x00, 0x20}, {0x00, 0x30}, {0x80, 0x80}};
    psd_spec cmyk = rgb;
    cmyk.mode = 4;
    cmyk.rows[3] = {0xFF, 0x80};
    bytes cut = make_psd(rgb);
    cut.resize(cut.size() - 5);  // into the blue channel

    tla_spec tla;  // 2 x 2 RGBA in two filtered blocks
    tla.pixel_format = 4;
    tla.width = 2;
    tla.height = 2;
    tla.pixels = {0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0x80, 0, 0, 0xFF, 0x00, 0x10, 0x20, 0x30, 0xFF};
    tla.blocks = {{1, 1}, {1, 7}};
    tla_spec no_rows = tla;
    no_rows.blocks = {{1, 0}};

    pcd_spec pcd;  // resolutions 1 to 3, neutral grey
    pcd.base = [](int, int plane, uint32_t, uint32_t) { return pcd_grey_base(plane, 100); };
    pcd_spec overview = pcd;
    overview.overview = true;
    overview.stored = 1;

    const struct {
        const char* name;
        bytes data;
    } files[] = {
        {"layers.psd", make_psd(rgb)}, {"inks.psd", make_psd(cmyk)},     {"cut.psd", cut},
        {"tiles.tla", make_tla(tla)},  {"short.tla", make_tla(no_rows)}, {"photo.pcd", make_pcd(pcd)},
        {"album.pcd", make_pcd(overview)},
    };
    for (const auto& file : files)
        if (!save(dir + "/" + file.name, file.data)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), file.name);
            return 1;
        }
    return 0;
}
