// Windows metafiles turned into pixels by GDI: the file becomes one enhanced
// metafile, which is played into an off-screen bitmap compatible with the
// screen and read back as 24-bit rows or as a packed bitmap.
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/metafile.h"
#include "imageio/trace.h"

#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>

namespace {

constexpr uint32_t placeable_key = 0x9AC6CDD7;
constexpr uint32_t placeable_header_size = 22;
constexpr uint32_t file_slack = 1024;  // zeros after the file's bytes, for records that claim more
constexpr uint32_t plain_metafile_extent = 1000;  // hundredths of a millimetre
constexpr int abort_steps = 4;
// A read-back that comes in bit-field layout is refused with the library's
// "not at this depth" code.
constexpr int32_t bitfield_layout_error = IS_ERR_NO_READER;

// Each GDI object is released by its owner's destructor, so that every way
// out of a render gives back everything it made.
class no_copy {
public:
    no_copy() = default;
    no_copy(const no_copy&) = delete;
    no_copy& operator=(const no_copy&) = delete;
};

struct screen_dc : no_copy {
    HDC handle = GetDC(nullptr);
    ~screen_dc()
    {
        if (handle)
            ReleaseDC(nullptr, handle);
    }
};

// Owns one handle and gives it back with release when it goes.
template <auto release>
struct releaser {
    template <class Handle>
    void operator()(Handle handle) const
    {
        release(handle);
    }
};
template <class Handle, auto release>
using owned = std::unique_ptr<std::remove_pointer_t<Handle>, releaser<release>>;

using memory_dc = owned<HDC, DeleteDC>;
using gdi_object = owned<HGDIOBJ, DeleteObject>;
using plain_metafile = owned<HMETAFILE, DeleteMetaFile>;
using enhanced_metafile = owned<HENHMETAFILE, DeleteEnhMetaFile>;

// An object selected into a device context until restore or destruction.
struct selection : no_copy {
    HDC dc;
    HGDIOBJ previous;
    selection(HDC into, HGDIOBJ object) : dc(into), previous(SelectObject(into, object)) {}
    void restore()
    {
        if (dc && previous)
            SelectObject(dc, previous);
        dc = nullptr;
    }
    ~selection() { restore(); }
};

// On palette devices the bitmap is read back through a palette made of the
// system palette's first 255 entries.
struct read_back_palette : no_copy {
    HDC dc;
    HPALETTE own = nullptr;
    HPALETTE previous = nullptr;
    read_back_palette(HDC into, HDC screen) : dc(into)
    {
        if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE))
            return;
        struct {
            WORD version;
            WORD count;
            PALETTEENTRY entries[255];
        } palette{0x300, 255, {}};
        GetSystemPaletteEntries(screen, 0, 255, palette.entries);
        own = CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
        if (own) {
            previous = SelectPalette(dc, own, FALSE);
            RealizePalette(dc);
        }
    }
    ~read_back_palette()
    {
        if (own) {
            SelectPalette(dc, previous, FALSE);
            DeleteObject(own);
        }
    }
};

struct source_closer : no_copy {
    ISSourceRecord* source;
    explicit source_closer(ISSourceRecord* opened) : source(opened) {}
    ~source_closer() { is_close_source(source); }
};

// A float or double truncated toward zero into 32 bits; false when it does
// not fit (or is not a number).
template <class Real>
bool truncate_to_int(Real value, int32_t* out)
{
    if (!(value > (Real)-2147483648.0 && value < (Real)2147483648.0))
        return false;
    *out = (int32_t)value;
    return true;
}

struct render_request {
    const char* name;
    int32_t width;
    int32_t height;
    uint32_t background;
    uint32_t flags;
};

class metafile_renderer {
public:
    explicit metafile_renderer(read_context& context) : context_(context) {}

    uint8_t* render(const render_request& request, uint32_t* out_width, uint32_t* out_height);

private:
    bool open(const render_request& request, HDC screen, enhanced_metafile& metafile);
    bool convert_plain(HMETAFILE handle, HDC screen, enhanced_metafile& metafile);
    bool read_whole(const render_request& request, HDC screen, enhanced_metafile& metafile);
    bool output_size(const render_request& request, HDC screen, HENHMETAFILE metafile, int32_t* width,
                     int32_t* height);
    bool natural_size(HDC screen, HENHMETAFILE metafile, int32_t* width, int32_t* height);
    owned_buffer read_rgb(HDC dc, HBITMAP bitmap, int32_t width, int32_t height);
    owned_buffer read_packed(HDC dc, HBITMAP bitmap, int32_t width, int32_t height);

    bool fail(int32_t code)
    {
        context_.error = code;
        return false;
    }

    read_context& context_;
    // The placeable header of the file read whole, when it had one: the
    // picture's extents in hundredths of a millimetre.
    bool placeable_ = false;
    uint32_t placeable_extent_x_ = 0;
    uint32_t placeable_extent_y_ = 0;
};

bool metafile_renderer::convert_plain(HMETAFILE handle, HDC screen, enhanced_metafile& metafile)
{
    plain_metafile plain(handle);
    const UINT size = GetMetaFileBitsEx(handle, 0, nullptr);
    if (size == 0)
        return fail(IS_ERR_METAFILE);
    std::vector<uint8_t> bits(size);
    if (GetMetaFileBitsEx(handle, size, bits.data()) != size)
        return fail(IS_ERR_METAFILE);
    const METAFILEPICT picture{MM_ANISOTROPIC, (LONG)plain_metafile_extent, (LONG)plain_metafile_extent, nullptr};
    metafile.reset(SetWinMetaFileBits(size, bits.data(), screen, &picture));
    return metafile.get() ? true : fail(IS_ERR_METAFILE);
}

bool metafile_renderer::read_whole(const render_request& request, HDC screen, enhanced_metafile& metafile)
{
    ISSourceRecord* source = is_open_file_source(request.name);
    if (!source)
        return fail(IS_ERR_CANT_OPEN);
    source_closer closer(source);
    CISIO io(source);
    const int64_t size = io.size();
    uint64_t room = 0;
    if (size <= 0)
        return fail(IS_ERR_METAFILE);
    if (!is_buffer_size((uint64_t)size + file_slack, 1, &room))
        return fail(IS_ERR_NO_MEMORY);
    std::vector<uint8_t> bytes(room);
    if (!io.read_exactly(bytes.data(), (uint32_t)size))
        return fail(IS_ERR_READ);

    METAFILEPICT picture{MM_ANISOTROPIC, request.width, request.height, nullptr};
    uint32_t offset = 0;
    if (size >= 4 && le32(bytes.data()) == placeable_key) {
        // Key, handle word, bounding box, units per inch, reserved, checksum.
        const int16_t left = (int16_t)le16(&bytes[6]);
        const int16_t top = (int16_t)le16(&bytes[8]);
        const int16_t right = (int16_t)le16(&bytes[10]);
        const int16_t bottom = (int16_t)le16(&bytes[12]);
        const uint16_t units_per_inch = le16(&bytes[14]);
        // A header cut short, an empty box or no units per inch cannot be measured.
        if (size < placeable_header_size || units_per_inch == 0 || right <= left || bottom <= top)
            return fail(IS_ERR_METAFILE);
        placeable_extent_x_ = (uint32_t)(right - left) * 2540u / units_per_inch;
        placeable_extent_y_ = (uint32_t)(bottom - top) * 2540u / units_per_inch;
        placeable_ = true;
        picture.xExt = (LONG)placeable_extent_x_;
        picture.yExt = (LONG)placeable_extent_y_;
        offset = placeable_header_size;
    }
    metafile.reset(SetWinMetaFileBits((UINT)(size - offset), bytes.data() + offset, screen, &picture));
    if (!metafile.get()) {
        is_trace(3, "SetWinMetaFileBits failed GetLastError = %d\n", (int)GetLastError());
        return fail(IS_ERR_METAFILE_BITS);
    }
    return true;
}

// An enhanced metafile first, then a plain one, then the bytes of the file
// (placeable metafiles, which the system's own readers refuse).
bool metafile_renderer::open(const render_request& request, HDC screen, enhanced_metafile& metafile)
{
    metafile.reset(GetEnhMetaFileA(request.name));
    if (metafile.get())
        return true;
    if (HMETAFILE plain = GetMetaFileA(request.name))
        return convert_plain(plain, screen, metafile);
    return read_whole(request, screen, metafile);
}

bool metafile_renderer::natural_size(HDC screen, HENHMETAFILE metafile, int32_t* width, int32_t* height)
{
    if (placeable_) {
        // 2540.1 rather than 2540 keeps the result just under the exact inch
        // conversion, so a whole number of pixels does not round up.
        const double x = placeable_extent_x_ / 2540.1 * GetDeviceCaps(screen, LOGPIXELSX);
        const double y = placeable_extent_y_ / 2540.1 * GetDeviceCaps(screen, LOGPIXELSY);
        return (truncate_to_int(x, width) && truncate_to_int(y, height)) || fail(IS_ERR_METAFILE);
    }
    ENHMETAHEADER header{};
    if (!GetEnhMetaFileHeader(metafile, sizeof header, &header))
        return fail(IS_ERR_METAFILE);
    const float dx = (float)header.szlDevice.cx;
    const float dy = (float)header.szlDevice.cy;
    const float mx = (float)header.szlMillimeters.cx * 100.0f;
    const float my = (float)header.szlMillimeters.cy * 100.0f;
    if (!(mx > 0.0f && my > 0.0f))
        return fail(IS_ERR_METAFILE);
    const RECTL& frame = header.rclFrame;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (!truncate_to_int((float)frame.left * dx / mx, &left) || !truncate_to_int((float)frame.top * dy / my, &top) ||
        !truncate_to_int(dx * (float)frame.right / mx, &right) ||
        !truncate_to_int(dy * (float)frame.bottom / my, &bottom))
        return fail(IS_ERR_METAFILE);
    const int64_t frame_width = (int64_t)right - left;
    const int64_t frame_height = (int64_t)bottom - top;
    if (frame_width > INT32_MAX || frame_height > INT32_MAX)
        return fail(IS_ERR_METAFILE);
    *width = (int32_t)frame_width;
    *height = (int32_t)frame_height;
    return true;
}

bool metafile_renderer::output_size(const render_request& request, HDC screen, HENHMETAFILE metafile,
                                    int32_t* width, int32_t* height)
{
    if (request.flags & IS_FLAG_EXACT_SIZE) {
        *width = request.width;
        *height = request.height;
    } else {
        if (!natural_size(screen, metafile, width, height))
            return false;
        if (*width <= 0 || *height <= 0)
            return fail(IS_ERR_METAFILE);
        if (request.flags & IS_FLAG_PERCENT_SIZE) {
            if (!truncate_to_int(request.width / 100.0 * *width, width) ||
                !truncate_to_int(request.height / 100.0 * *height, height))
                return fail(IS_ERR_NO_BITMAP);
        }
    }
    // GDI would make a 1 x 1 bitmap of an empty size; there is nothing to render.
    return (*width > 0 && *height > 0) || fail(IS_ERR_NO_BITMAP);
}

owned_buffer metafile_renderer::read_rgb(HDC dc, HBITMAP bitmap, int32_t width, int32_t height)
{
    const uint64_t stride = ((uint64_t)width * 3 + 3) / 4 * 4;
    uint64_t dib_bytes = 0, rgb_bytes = 0;
    if (!is_buffer_size(stride, (uint64_t)height, &dib_bytes) ||
        !is_buffer_size((uint64_t)width, (uint64_t)height, 3, &rgb_bytes)) {
        context_.error = IS_ERR_NO_MEMORY;
        return nullptr;
    }
    std::vector<uint8_t> rows(dib_bytes);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    if (GetDIBits(dc, bitmap, 0, (UINT)height, rows.data(), &info, DIB_RGB_COLORS) != height)
        return context_.fail(IS_ERR_GET_DIBITS);
    if (info.bmiHeader.biCompression == BI_BITFIELDS)
        return context_.fail(bitfield_layout_error);
    owned_buffer rgb = alloc_pixels(rgb_bytes, 1);
    if (!rgb)
        return context_.fail(IS_ERR_NO_MEMORY);
    uint8_t* out = rgb.get();
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = rows.data() + (uint64_t)y * stride;
        for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return rgb;
}

// The header, the colour table of depths 1 to 8 and the bottom-up rows, at
// the bitmap's own depth.
owned_buffer metafile_renderer::read_packed(HDC dc, HBITMAP bitmap, int32_t width, int32_t height)
{
    BITMAP own{};
    if (!GetObjectA(bitmap, sizeof own, &own))
        return context_.fail(IS_ERR_GET_DIBITS);
    const int depth = own.bmBitsPixel * own.bmPlanes;
    int entries = 0;
    if (depth == 1 || depth == 4 || depth == 8)
        entries = 1 << depth;
    else if (depth != 16 && depth != 24 && depth != 32)
        return context_.fail(IS_ERR_BAD_ARGUMENT);
    const uint64_t stride = ((uint64_t)width * depth + 31) / 32 * 4;
    uint64_t image_bytes = 0;
    if (!is_buffer_size(stride, (uint64_t)height, &image_bytes))
        return context_.fail(IS_ERR_NO_MEMORY);
    const uint64_t table_bytes = sizeof(BITMAPINFOHEADER) + 4 * (uint64_t)entries;
    const uint64_t total = table_bytes + image_bytes;
    owned_buffer packed = alloc_pixels(total, 1);
    if (!packed)
        return context_.fail(IS_ERR_NO_MEMORY);

    // Room for a full colour table or masks, whatever GetDIBits writes.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)depth;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = (DWORD)image_bytes;
    if (GetDIBits(dc, bitmap, 0, (UINT)height, packed.get() + table_bytes, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS) != height)
        return context_.fail(IS_ERR_GET_DIBITS);
    if (info.header.biCompression == BI_BITFIELDS)
        return context_.fail(bitfield_layout_error);
    std::memcpy(packed.get(), &info, table_bytes);
    return packed;
}

uint8_t* metafile_renderer::render(const render_request& request, uint32_t* out_width, uint32_t* out_height)
{
    if (context_.cancelled(0, abort_steps))
        return nullptr;
    const DWORD attributes = GetFileAttributesA(request.name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return context_.fail(IS_ERR_CANT_OPEN);
    screen_dc screen;
    if (!screen.handle)
        return context_.fail(IS_ERR_NO_DC);
    enhanced_metafile metafile;
    if (!open(request, screen.handle, metafile))
        return nullptr;
    int32_t width = 0, height = 0;
    if (!output_size(request, screen.handle, metafile.get(), &width, &height))
        return nullptr;

    if (context_.cancelled(1, abort_steps))
        return nullptr;
    memory_dc memory(CreateCompatibleDC(screen.handle));
    if (!memory.get())
        return context_.fail(IS_ERR_NO_DC);
    gdi_object bitmap(CreateCompatibleBitmap(screen.handle, width, height));
    if (!bitmap.get())
        return context_.fail(IS_ERR_NO_BITMAP);
    selection selected(memory.get(), bitmap.get());
    const RECT frame{0, 0, width, height};
    {
        gdi_object brush(CreateSolidBrush(request.background));
        if (!brush.get())
            return context_.fail(IS_ERR_NO_DC);
        FillRect(memory.get(), &frame, static_cast<HBRUSH>(brush.get()));
    }
    if (context_.cancelled(2, abort_steps))
        return nullptr;
    PlayEnhMetaFile(memory.get(), metafile.get(), &frame);
    if (context_.cancelled(3, abort_steps))
        return nullptr;

    if (!(GetDeviceCaps(screen.handle, RASTERCAPS) & RC_DI_BITMAP))
        return context_.fail(IS_ERR_NO_DIBITS);
    // GetDIBits wants the bitmap out of every device context.
    selected.restore();
    read_back_palette palette(memory.get(), screen.handle);
    const HBITMAP pixels = static_cast<HBITMAP>(bitmap.get());
    owned_buffer buffer = (request.flags & IS_FLAG_PACKED_DIB) ? read_packed(memory.get(), pixels, width, height)
                                                                : read_rgb(memory.get(), pixels, width, height);
    if (buffer) {
        *out_width = (uint32_t)width;
        *out_height = (uint32_t)height;
    }
    return buffer.release();
}

}  // namespace

uint8_t* is_render_metafile(const char* name, uint32_t* out_width, uint32_t* out_height, int32_t width,
                            int32_t height, uint32_t background, uint32_t flags)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    if (out_width)
        *out_width = 0;
    if (out_height)
        *out_height = 0;
    if (!name || !out_width || !out_height) {
        is_set_error(state, IS_ERR_BAD_ARGUMENT);
        return nullptr;
    }
    return run_checked_entry(state, nullptr, out_width, out_height, [&](read_context& context) {
        metafile_renderer renderer(context);
        return renderer.render({name, width, height, background, flags}, out_width, out_height);
    });
}

// Rendered through the entry point, so that the nested call does not ask the
// abort callback (only the outermost call on a thread does).
uint8_t* metafile_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t, uint8_t*)
{
    const char* name = context.io.name();
    if (!name || !*name)
        return context.fail(IS_ERR_NO_READER);
    const is_metafile_defaults& defaults = context.state->metafile;
    uint8_t* buffer =
        is_render_metafile(name, width, height, defaults.width, defaults.height, defaults.background, 0);
    context.error = buffer ? IS_OK : is_get_last_error();
    return buffer;
}
