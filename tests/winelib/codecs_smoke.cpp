// Decodes a PNG, a JPEG, a TIFF and a JPEG 2000 file through the image
// library in a Windows API program. The codec libraries are Linux libraries:
// this proves that the library calls them with their own calling convention
// and record layouts, and that their pixels arrive intact.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imageio/imageio.h"
#include "imageio/readers/j2k.h"
#include "tests/writers/j2k_writer.h"
#include "tests/writers/jpeg_writer.h"
#include "tests/writers/png_writer.h"
#include "tests/writers/tiff_writer.h"

namespace {

// Wine ends the process without flushing the host's stdio buffers.
void say(const char* what)
{
    std::printf("codecs smoke: %s\n", what);
    std::fflush(nullptr);
}

bool write_temp(const std::vector<uint8_t>& bytes, std::string* path)
{
    char folder[MAX_PATH], name[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "ts", 0, name))
        return false;
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) &&
                    written == bytes.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    *path = name;
    return ok;
}

// A 16 x 16 picture of four flat 8 x 8 quarters (whole JPEG blocks).
const uint8_t quarters[4][3] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {240, 240, 240}};

std::vector<uint8_t> quarter_pixels(int channels)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t* q = quarters[(y / 8) * 2 + x / 8];
            out.insert(out.end(), q, q + 3);
            if (channels == 4)
                out.push_back((uint8_t)(x == 0 ? 0 : 255));
        }
    return out;
}

// Reads a file by the application's road for its format and compares the
// pixels (tolerance for JPEG); false with a message on any difference.
bool check(const char* what, const std::vector<uint8_t>& file, int32_t format, int channels, int tolerance)
{
    std::string path;
    if (file.empty() || !write_temp(file, &path)) {
        say(what);
        return false;
    }
    ISSourceRecord* source = is_open_file_source(path.c_str());
    const int32_t guessed = source ? is_guess_format(source) : 0;
    is_seek(source, 0, 0);
    uint32_t width = 0, height = 0;
    uint8_t* pixels = nullptr;
    if (guessed == IS_FORMAT_JP2) {
        is_io_callbacks* table = is_make_io_callbacks(0);
        j2k_set_io_callbacks(table);
        GlobalFree(table);
        pixels = j2k_read(source, &width, &height, 24, 1.0, 0);
    } else if (channels == 4) {
        pixels = is_read_generic_rgba32(source, &width, &height);
    } else {
        pixels = is_read_generic_rgb24(source, &width, &height);
    }
    const int32_t error = is_get_last_error();
    is_close_source(source);
    DeleteFileA(path.c_str());
    bool ok = guessed == format && pixels && width == 16 && height == 16 && GlobalSize(pixels) >= 256u * channels;
    const std::vector<uint8_t> expected = quarter_pixels(channels);
    for (size_t i = 0; ok && i < expected.size(); ++i)
        ok = std::abs((int)pixels[i] - (int)expected[i]) <= tolerance;
    if (pixels)
        GlobalFree(pixels);
    if (!ok) {
        std::printf("codecs smoke: %s failed (format %d, error %d, %ux%u)\n", what, (int)guessed, (int)error,
                    (unsigned)width, (unsigned)height);
        std::fflush(nullptr);
    }
    return ok;
}

// A damaged file must come back as an error code: libjpeg's and libpng's
// failures travel as C++ exceptions through the C libraries' own frames.
bool check_refused(const char* what, std::vector<uint8_t> file, size_t keep, int32_t code)
{
    file.resize(keep);
    std::string path;
    if (!write_temp(file, &path))
        return false;
    ISSourceRecord* source = is_open_file_source(path.c_str());
    uint32_t width = 0, height = 0;
    uint8_t* pixels = is_read_generic_rgb24(source, &width, &height);
    const int32_t error = is_get_last_error();
    is_close_source(source);
    DeleteFileA(path.c_str());
    if (pixels || error != code) {
        std::printf("codecs smoke: damaged %s gave error %d\n", what, (int)error);
        std::fflush(nullptr);
        return false;
    }
    return true;
}

}  // namespace

int main()
{
    png_recipe png;
    png.width = png.height = 16;
    png.color_type = 6;
    for (uint8_t v : quarter_pixels(4))
        png.samples.push_back(v);

    jpeg_recipe jpeg;
    jpeg.width = jpeg.height = 16;
    jpeg.full_chroma = true;
    jpeg.pixels = quarter_pixels(3);

    tiff_recipe tiff;
    tiff.width = tiff.height = 16;
    tiff.compression = 5;
    tiff.data = quarter_pixels(3);

    j2k_recipe j2k;
    j2k.width = j2k.height = 16;
    j2k.color_space = 1;
    const std::vector<uint8_t> rgb = quarter_pixels(3);
    j2k.planes.resize(3);
    for (size_t i = 0; i < rgb.size(); ++i)
        j2k.planes[i % 3].push_back(rgb[i]);

    bool ok = check("PNG", make_png(png), IS_FORMAT_PNG, 4, 0);
    ok = check("JPEG", make_jpeg(jpeg), IS_FORMAT_JPEG, 3, 3) && ok;  // lossy: flat blocks within a few levels
    ok = check("TIFF", make_tiff(tiff), IS_FORMAT_TIFF, 3, 0) && ok;
    ok = check("JPEG 2000", make_j2k(j2k), IS_FORMAT_JP2, 3, 0) && ok;
    ok = check_refused("JPEG", make_jpeg(jpeg), 30, 9) && ok;
    ok = check_refused("PNG", make_png(png), 60, 15) && ok;
    say(ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
