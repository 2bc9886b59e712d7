// Writes the seed corpora of the fuzz targets: each target's seed files into
// FOLDER/<target>, the plain files among them also into the generic read's
// folder, which gets the start of each signature detection knows as well.
#include "fuzz/seed_files.h"
#include "tests/writers/write_file.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

struct target_seeds {
    const char* target;
    seed_list (*seeds)();
    bool plain_files;  // also seeds of the generic read
};

const target_seeds targets[] = {
    {"fuzz_bmp", bmp_seeds, true},   {"fuzz_gif", gif_seeds, true},   {"fuzz_tga", tga_seeds, true},
    {"fuzz_pcx", pcx_seeds, true},   {"fuzz_wbmp", wbmp_seeds, true}, {"fuzz_psd", psd_seeds, true},
    {"fuzz_tla", tla_seeds, true},   {"fuzz_pcd", pcd_seeds, false},  {"fuzz_jpeg", jpeg_seeds, true},
    {"fuzz_png", png_seeds, true},   {"fuzz_tiff", tiff_seeds, true}, {"fuzz_j2k", j2k_seeds, true},
};

const seed_list signature_heads = {
    {"jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0}},
    {"png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}},
    {"gif", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
    {"tiff", {'I', 'I', 42, 0, 8, 0, 0, 0}},
    {"tla", {'T', 'L', 'A', 1}},
    {"wbmp", {0, 0, 8, 2, 0xFF, 0x00}},
    {"pcx", {0x0A, 0x05, 1, 8, 0, 0, 0, 0, 3, 0, 3, 0}},
};

bool write_all(const std::string& folder, const seed_list& seeds)
{
    mkdir(folder.c_str(), 0755);
    bool written = true;
    for (const auto& [name, bytes] : seeds)
        written = write_file(folder + "/" + name, bytes) && written;
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    const std::string generic = root + "/fuzz_generic_read";
    mkdir(root.c_str(), 0755);
    bool written = write_all(generic, signature_heads);
    for (const target_seeds& t : targets) {
        const seed_list seeds = t.seeds();
        written = write_all(root + "/" + t.target, seeds) && written;
        if (t.plain_files)
            written = write_all(generic, seeds) && written;
    }
    if (!written)
        std::fprintf(stderr, "fuzz-seeds: cannot write every seed below %s\n", root.c_str());
    return written ? 0 : 1;
}
