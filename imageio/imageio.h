// The image library's entry points. A picture is read from a source into one
// pixel buffer: rows packed top row first, 1 bit (8 pixels a byte, most
// significant bit first), 8 bits (an index or grey level), 24 bits (red,
// green, blue) or 32 bits (red, green, blue, alpha with 255 opaque). The
// buffer belongs to the caller, who releases it with is_global_free
// (GlobalFree in the Windows build). Palettes are 256 entries of blue, green,
// red and a fourth byte. Every entry point sets the calling thread's last
// error: 0 on success, a code of imageio/codes.h on failure.
#pragma once
#include <cstdint>

#include "imageio/codes.h"

struct ISSourceRecord;

// Asked once per row by the outermost read on a thread; returning 0 cancels.
using is_abort_fn = int32_t (*)(int32_t step, int32_t total, void* user);

// Zero-filled global memory; buffers of the library are released with
// is_global_free.
void* is_global_alloc(uint64_t size);
void is_global_free(void* block);
// A buffer of the library resized (moved if need be, the bytes kept up to the
// smaller size; new bytes are not cleared); null, with block still valid,
// when it cannot be.
void* is_global_realloc(void* block, uint64_t size);

// Reader options of the calling thread.
void is_set_read_option(int32_t value);
void is_set_jpeg_scale(int32_t numerator, int32_t denominator);
void is_set_abort_callback(is_abort_fn callback, void* user);
int32_t is_get_last_error();
// The size of a buffer that the last read on this thread refused because it
// would pass the library's limit (imageio/buffer.h), UINT64_MAX when the size
// overflowed; 0 when there was none.
uint64_t is_get_refused_buffer_bytes();

// Sources. A file source reads the named file; a memory source reads a block
// that the caller keeps alive until the source is closed.
ISSourceRecord* is_open_file_source(const char* name);
ISSourceRecord* is_open_memory_source(const void* base, uint32_t size);
// Closes the source and frees its record; returns the position it had reached.
int64_t is_close_source(ISSourceRecord* source);

bool is_seek(ISSourceRecord* source, int64_t distance, int32_t origin);  // origin 0 begin, 1 current, 2 end
uint32_t is_read(ISSourceRecord* source, void* buffer, uint32_t count);
bool is_write(ISSourceRecord* source, const void* buffer, uint32_t count);
bool is_tell(ISSourceRecord* source, int64_t* position);
bool is_get_size(ISSourceRecord* source, int64_t* size);
bool is_at_end(ISSourceRecord* source);

// Format code of the source's content (IS_FORMAT_*), 0 when unknown. The
// position afterwards is wherever detection left it.
int32_t is_guess_format(ISSourceRecord* source);

// Detects the format and reads the picture at 24 or 32 bits.
uint8_t* is_read_generic_rgb24(ISSourceRecord* source, uint32_t* width, uint32_t* height);
uint8_t* is_read_generic_rgba32(ISSourceRecord* source, uint32_t* width, uint32_t* height);
// The same core at any depth: 0 lets the library choose, 1, 2 to 8 (the
// 8-bit family), 24 or 32. *depth receives the depth delivered; 1- and 8-bit
// reads fill the 256-entry palette (1024 bytes, required for them).
uint8_t* is_read_generic(ISSourceRecord* source, int32_t wanted_depth, uint32_t* width, uint32_t* height,
                         int32_t* depth, uint8_t* palette);

// Photo CD image pack at resolution 1 (192 x 128) to 6 (6144 x 4096).
uint8_t* is_read_pcd(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t resolution,
                     uint32_t flags);

// Flag of the readers: return a packed device-independent bitmap (header,
// palette, bottom-up padded rows) instead of packed rows.
constexpr uint32_t IS_FLAG_PACKED_DIB = 2;

// Flags of is_render_metafile besides IS_FLAG_PACKED_DIB: width and height
// are the output size in pixels, or percentages of the picture's own size.
constexpr uint32_t IS_FLAG_EXACT_SIZE = 1;
constexpr uint32_t IS_FLAG_PERCENT_SIZE = 4;

// Renders the named Windows metafile (WMF, placeable WMF or EMF) onto the
// background colour (0x00BBGGRR) and returns 24-bit rows, or the packed
// bitmap at the display's depth. Without size flags the output has the
// picture's own pixel size. *out_width and *out_height receive the size
// (0 on failure). Windows build only: natively it fails with error 17.
uint8_t* is_render_metafile(const char* name, uint32_t* out_width, uint32_t* out_height, int32_t width,
                            int32_t height, uint32_t background, uint32_t flags);

// BMP file at depth 1 or 8 (with palette), 24 or 32, or its packed bitmap.
uint8_t* is_read_bmp(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags);

// The table through which modules outside the library read its sources.
struct is_io_callbacks {
    uint32_t table_size;      // sizeof(is_io_callbacks); receivers check it
    uintptr_t caller_value;
    uint32_t (*read)(ISSourceRecord* source, void* buffer, uint32_t count);
    bool (*write)(ISSourceRecord* source, const void* buffer, uint32_t count);
    bool (*seek)(ISSourceRecord* source, int64_t distance, int32_t origin);
    bool (*tell)(ISSourceRecord* source, int64_t* position);
    bool (*get_size)(ISSourceRecord* source, int64_t* size);
    bool (*at_end)(ISSourceRecord* source);
    void (*get_abort_callback)(is_abort_fn* callback, void** user);
    uint8_t* (*get_saved_callback_block)();
    void (*set_last_error)(int32_t code);
};

// A new table from the global heap (release with is_global_free), or null
// with error 1.
is_io_callbacks* is_make_io_callbacks(uintptr_t caller_value);
