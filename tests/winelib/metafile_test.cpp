// Metafiles drawn with GDI in the test (a red block on the left half of the
// picture), written as EMF, plain WMF and placeable WMF files, then rendered
// by the image library: sizes, pixels, flags, errors, the abort callback and
// the count of live GDI objects before and after.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imageio/imageio.h"
#include "imageio/trace.h"
#include "tests/winelib/check.h"

namespace {

const COLORREF red = RGB(255, 0, 0);
const uint32_t background = 0x00336699;  // COLORREF: red 0x99, green 0x66, blue 0x33

std::string g_folder;

std::string path_of(const char* name)
{
    return g_folder + name;
}

// GDI objects alive in this process: Wine accepts a handle's bare index.
int live_gdi_objects()
{
    int count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++count;
    return count;
}

void fill_red(HDC dc, int left, int top, int right, int bottom)
{
    HBRUSH brush = CreateSolidBrush(red);
    const RECT block{left, top, right, bottom};
    FillRect(dc, &block, brush);
    DeleteObject(brush);
}

// An EMF whose frame is width x height hundredths of a millimetre, red on its
// left half.
void write_emf(const std::string& path, int width_smm, int height_smm)
{
    HDC screen = GetDC(nullptr);
    const int pixels_x = MulDiv(width_smm, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, HORZSIZE) * 100);
    const int pixels_y = MulDiv(height_smm, GetDeviceCaps(screen, VERTRES), GetDeviceCaps(screen, VERTSIZE) * 100);
    ReleaseDC(nullptr, screen);
    const RECT frame{0, 0, width_smm, height_smm};
    HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, "test\0picture\0");
    fill_red(dc, 0, 0, pixels_x / 2, pixels_y);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

// The bits of a plain metafile with a window of width x height units, red on
// its left half.
std::vector<uint8_t> plain_metafile_bits(int width, int height)
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    fill_red(dc, 0, 0, width / 2, height);
    HMETAFILE metafile = CloseMetaFile(dc);
    std::vector<uint8_t> bits(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, (UINT)bits.size(), bits.data());
    DeleteMetaFile(metafile);
    return bits;
}

void write_bytes(const std::string& path, const void* bytes, size_t count)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes, (DWORD)count, &written, nullptr);
    CloseHandle(file);
}

// The 22-byte placeable header in front of plain metafile bits.
std::vector<uint8_t> placeable(const std::vector<uint8_t>& bits, int16_t right, int16_t bottom,
                               uint16_t units_per_inch)
{
    uint16_t words[11] = {0xCDD7, 0x9AC6, 0, 0, 0, (uint16_t)right, (uint16_t)bottom, units_per_inch, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        words[10] ^= words[i];
    std::vector<uint8_t> file(sizeof words + bits.size());
    std::memcpy(file.data(), words, sizeof words);
    std::copy(bits.begin(), bits.end(), file.begin() + sizeof words);
    return file;
}

struct rendered {
    uint8_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t error = -1;

    rendered(const std::string& path, int32_t w, int32_t h, uint32_t flags, uint32_t colour = background)
    {
        pixels = is_render_metafile(path.c_str(), &width, &height, w, h, colour, flags);
        error = is_get_last_error();
    }
    ~rendered() { is_global_free(pixels); }
    rendered(const rendered&) = delete;
    rendered& operator=(const rendered&) = delete;

    bool ok() const { return pixels && error == 0; }
    // The RGB pixel at (x, y) of a 24-bit result.
    uint32_t rgb(uint32_t x, uint32_t y) const
    {
        const uint8_t* p = pixels + ((uint64_t)y * width + x) * 3;
        return (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
    }
    bool failed_with(int32_t code) const { return !pixels && width == 0 && height == 0 && error == code; }
};

const uint32_t red_rgb = 0xFF0000;
const uint32_t background_rgb = 0x996633;

// Red on the left, background on the right, away from the seam.
bool left_red_right_background(const rendered& picture)
{
    const uint32_t w = picture.width, h = picture.height;
    return picture.rgb(1, 1) == red_rgb && picture.rgb(w / 2 - 2, h - 2) == red_rgb &&
           picture.rgb(w / 2 + 2, 1) == background_rgb && picture.rgb(w - 1, h - 1) == background_rgb;
}

void enhanced_metafile()
{
    // 2 x 1 inches.
    write_emf(path_of("wide.emf"), 5080, 2540);
    rendered natural(path_of("wide.emf"), 1000, 1000, 0);
    CHECK(natural.ok());
    CHECK(natural.width >= 190 && natural.width <= 193 && natural.height >= 95 && natural.height <= 97);
    CHECK(natural.ok() && left_red_right_background(natural));

    // The application's second render: the longer side at 1000 pixels.
    rendered exact(path_of("wide.emf"), 1000, 500, IS_FLAG_EXACT_SIZE);
    CHECK(exact.ok() && exact.width == 1000 && exact.height == 500 && left_red_right_background(exact));

    rendered half(path_of("wide.emf"), 50, 50, IS_FLAG_PERCENT_SIZE);
    CHECK(half.ok() && half.width == natural.width / 2 && half.height == natural.height / 2);

    // An EMF is found by content, whatever its name says.
    CopyFileA(path_of("wide.emf").c_str(), path_of("named.wmf").c_str(), FALSE);
    rendered misnamed(path_of("named.wmf"), 1000, 1000, 0);
    CHECK(misnamed.ok() && misnamed.width == natural.width && misnamed.height == natural.height);

    rendered tiny(path_of("wide.emf"), 10, 20, IS_FLAG_EXACT_SIZE);
    CHECK(tiny.ok() && tiny.width == 10 && tiny.height == 20 && GlobalSize(tiny.pixels) == 600);
}

void plain_and_placeable_metafiles()
{
    const std::vector<uint8_t> bits = plain_metafile_bits(1440, 720);
    write_bytes(path_of("plain.wmf"), bits.data(), bits.size());
    // A plain metafile carries no size: it is taken as 10 x 10 mm.
    rendered plain(path_of("plain.wmf"), 1000, 1000, 0);
    CHECK(plain.ok());
    CHECK(plain.ok() && plain.width == plain.height && plain.width >= 36 && plain.width <= 39);
    rendered plain_exact(path_of("plain.wmf"), 300, 100, IS_FLAG_EXACT_SIZE);
    CHECK(plain_exact.ok() && left_red_right_background(plain_exact));

    // 1440 x 720 units at 1440 units per inch: just under 1 x 0.5 inches.
    const std::vector<uint8_t> file = placeable(bits, 1440, 720, 1440);
    write_bytes(path_of("placeable.wmf"), file.data(), file.size());
    rendered natural(path_of("placeable.wmf"), 1000, 1000, 0);
    CHECK(natural.ok() && natural.width == 95 && natural.height == 47);
    CHECK(natural.ok() && left_red_right_background(natural));
    rendered percent(path_of("placeable.wmf"), 200, 50, IS_FLAG_PERCENT_SIZE);
    CHECK(percent.ok() && percent.width == 190 && percent.height == 23);
}

// With flag 2 the result is a packed bitmap at the display's depth.
void packed_bitmap()
{
    rendered packed(path_of("wide.emf"), 30, 10, IS_FLAG_EXACT_SIZE | IS_FLAG_PACKED_DIB);
    CHECK(packed.ok() && packed.width == 30 && packed.height == 10);
    if (!packed.ok())
        return;
    BITMAPINFOHEADER header;
    std::memcpy(&header, packed.pixels, sizeof header);
    CHECK(header.biSize == 40 && header.biWidth == 30 && header.biHeight == 10 && header.biCompression == BI_RGB);
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    CHECK(header.biBitCount == depth);
    const uint32_t stride = (30 * depth + 31) / 32 * 4;
    const uint32_t table = depth <= 8 ? 4u << depth : 0;
    CHECK(GlobalSize(packed.pixels) == 40 + table + 10 * stride);
    if (depth == 32) {
        const uint8_t* bottom_left = packed.pixels + 40;
        const uint8_t* top_right = packed.pixels + 40 + 9 * stride + 29 * 4;
        CHECK(bottom_left[0] == 0 && bottom_left[1] == 0 && bottom_left[2] == 255);
        CHECK(top_right[0] == 0x33 && top_right[1] == 0x66 && top_right[2] == 0x99);
    }
}

std::string g_trace;

void keep_trace(int32_t, const char* text)
{
    g_trace += text;
}

void failures()
{
    uint32_t width = 7, height = 7;
    CHECK(!is_render_metafile(nullptr, &width, &height, 10, 10, 0, 0) && width == 0 && height == 0 &&
          is_get_last_error() == 5);
    CHECK(!is_render_metafile(path_of("wide.emf").c_str(), nullptr, &height, 10, 10, 0, 0) &&
          is_get_last_error() == 5);
    CHECK(rendered(path_of("missing.emf"), 10, 10, 0).failed_with(2));
    CHECK(rendered(g_folder, 10, 10, 0).failed_with(2));  // a folder is not a file

    write_bytes(path_of("empty.wmf"), "", 0);
    CHECK(rendered(path_of("empty.wmf"), 10, 10, 0).failed_with(27));

    const char garbage[] = "This is not a picture, only some text that looks nothing like a metafile.";
    write_bytes(path_of("garbage.wmf"), garbage, sizeof garbage);
    g_trace.clear();
    const is_trace_fn previous = is_set_trace_hook(keep_trace);
    CHECK(rendered(path_of("garbage.wmf"), 10, 10, 0).failed_with(41));
    is_set_trace_hook(previous);
    CHECK(g_trace.rfind("SetWinMetaFileBits failed GetLastError = ", 0) == 0);

    // Placeable headers that cannot be measured: cut short, no units per
    // inch, an empty box.
    const std::vector<uint8_t> bits = plain_metafile_bits(100, 100);
    const std::vector<uint8_t> good = placeable(bits, 100, 100, 1440);
    write_bytes(path_of("short.wmf"), good.data(), 12);
    CHECK(rendered(path_of("short.wmf"), 10, 10, 0).failed_with(27));
    const std::vector<uint8_t> no_units = placeable(bits, 100, 100, 0);
    write_bytes(path_of("no_units.wmf"), no_units.data(), no_units.size());
    CHECK(rendered(path_of("no_units.wmf"), 10, 10, 0).failed_with(27));
    const std::vector<uint8_t> inverted = placeable(bits, -100, 100, 1440);
    write_bytes(path_of("inverted.wmf"), inverted.data(), inverted.size());
    CHECK(rendered(path_of("inverted.wmf"), 10, 10, 0).failed_with(27));

    CHECK(rendered(path_of("wide.emf"), 0, 10, IS_FLAG_EXACT_SIZE).failed_with(23));
    CHECK(rendered(path_of("wide.emf"), 0, 0, IS_FLAG_PERCENT_SIZE).failed_with(23));
    CHECK(rendered(path_of("wide.emf"), 200000, 200000, IS_FLAG_EXACT_SIZE).failed_with(23));
}

std::vector<int32_t> g_steps;
int32_t g_stop_at = -1;

int32_t record_step(int32_t step, int32_t total, void*)
{
    g_steps.push_back(step * 10 + total);
    return step == g_stop_at ? 0 : 1;
}

void abort_callback()
{
    is_set_abort_callback(record_step, nullptr);
    g_steps.clear();
    g_stop_at = -1;
    CHECK(rendered(path_of("wide.emf"), 1000, 1000, 0).ok());
    CHECK((g_steps == std::vector<int32_t>{4, 14, 24, 34}));
    for (int32_t stop = 0; stop < 4; ++stop) {
        g_steps.clear();
        g_stop_at = stop;
        CHECK(rendered(path_of("wide.emf"), 1000, 1000, 0).failed_with(14));
        CHECK((int32_t)g_steps.size() == stop + 1);
    }
    // Nested in a generic read, the renderer is not the outermost call and
    // does not ask.
    g_steps.clear();
    g_stop_at = 0;
    ISSourceRecord* source = is_open_file_source(path_of("wide.emf").c_str());
    uint32_t width = 0, height = 0;
    uint8_t* pixels = is_read_generic_rgb24(source, &width, &height);
    CHECK(pixels && g_steps.empty());
    is_global_free(pixels);
    is_close_source(source);
    is_set_abort_callback(nullptr, nullptr);
}

// The generic read renders a named metafile with the thread's defaults: its
// own size on black.
void generic_read()
{
    rendered natural(path_of("wide.emf"), 1000, 1000, 0);
    ISSourceRecord* source = is_open_file_source(path_of("wide.emf").c_str());
    CHECK(is_guess_format(source) == 8);
    uint32_t width = 0, height = 0;
    uint8_t* rgba = is_read_generic_rgba32(source, &width, &height);
    CHECK(rgba && width == natural.width && height == natural.height && is_get_last_error() == 0);
    if (rgba) {
        const uint8_t* corner = rgba + ((uint64_t)height * width - 1) * 4;
        CHECK(rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 0 && rgba[3] == 255);
        CHECK(corner[0] == 0 && corner[1] == 0 && corner[2] == 0 && corner[3] == 255);
    }
    is_global_free(rgba);
    is_close_source(source);

    const std::vector<uint8_t> bits = plain_metafile_bits(100, 100);
    ISSourceRecord* memory = is_open_memory_source(bits.data(), (uint32_t)bits.size());
    CHECK(!is_read_generic_rgb24(memory, &width, &height) && is_get_last_error() == 17);
    is_close_source(memory);
}

}  // namespace

int main()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    g_folder = std::string(folder) + "metafile test\\";
    CreateDirectoryA(g_folder.c_str(), nullptr);

    // The first use of GDI and the library makes objects that stay; count after it.
    { rendered warm_up(path_of("missing.emf"), 1, 1, 0); }
    HDC screen = GetDC(nullptr);
    ReleaseDC(nullptr, screen);
    write_emf(path_of("wide.emf"), 5080, 2540);
    const int objects_before = live_gdi_objects();

    RUN(enhanced_metafile);
    RUN(plain_and_placeable_metafiles);
    RUN(packed_bitmap);
    RUN(failures);
    RUN(abort_callback);
    RUN(generic_read);

    const int objects_after = live_gdi_objects();
    std::printf("live GDI objects: %d before, %d after\n", objects_before, objects_after);
    CHECK(objects_before > 0 && objects_after == objects_before);
    return check_result("metafile");
}
