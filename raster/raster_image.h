// The program's in-memory image: one record that serves as the header of an
// owned image block and as a view of a rectangle of another image.
#pragma once
#include <cstdint>

enum : int32_t {
    PIXEL_GRAY8 = 1,
    PIXEL_RGB555 = 2,
    PIXEL_BGR24 = 3,
    PIXEL_ALPHA8 = 0x10,
};

struct raster_image {
    int32_t width;
    int32_t height;
    int32_t type;            // low nibble: colour bytes per pixel; next nibble: alpha bytes per pixel
    uint8_t* pixels;         // top row of the colour plane
    int32_t stride;          // bytes from one colour row to the next, a multiple of 4
    uint8_t* alpha;          // top row of the alpha plane, or null
    int32_t alpha_stride;    // 0 without an alpha plane
    uint32_t block_size;     // bytes of the owned block (a view carries its source's value)
};

inline int pixel_color_bytes(int32_t type) { return type & 0x0F; }
inline int pixel_alpha_bytes(int32_t type) { return (type >> 4) & 0x0F; }

// Row length rounded up to a multiple of 4 bytes.
inline int64_t padded_row_bytes(int64_t width, int bytes_per_pixel)
{
    return (width * bytes_per_pixel + 3) / 4 * 4;
}

// Lifecycle of the kit: hooks, allocation table, multiply table.
void kit_init();
void kit_shutdown();
void* kit_alloc(uint64_t size);
void kit_free(void* block);

// Where "mem tab is full" and similar kit messages go; a no-op until set.
using kit_log_fn = void (*)(const char* text);
void kit_set_log_hook(kit_log_fn hook);
// Called once by kit_shutdown, for modules that tear down their own state then.
using kit_shutdown_fn = void (*)();
void kit_set_shutdown_hook(kit_shutdown_fn hook);

// Diagnostics view of the allocation table.
struct kit_alloc_entry {
    void* address;      // null marks a free entry
    uint64_t size;
    uint32_t sequence;
};
constexpr int kit_alloc_table_size = 1024;
const kit_alloc_entry* kit_alloc_table();
uint32_t kit_alloc_sequence();

// The 65,536-byte table: entry a*256+v = round((255-a)*v/255).
const uint8_t* kit_multiply_table();

raster_image* image_create(int32_t type, int32_t width, int32_t height);
void image_free(raster_image* image);

// An image over pixels that another allocator made, so that a large picture
// needs no second copy: the kit makes only the record, and image_free hands
// pixels to release. stride must be a multiple of 4 and at least a row; null
// (nothing adopted, pixels left to the caller) when the record cannot be made
// or the shape is refused.
using pixel_release_fn = void (*)(void* pixels);
raster_image* image_adopt(int32_t type, int32_t width, int32_t height, int32_t stride, uint8_t* pixels,
                          pixel_release_fn release);

// The image turned the way an EXIF or TIFF Orientation value (1 to 8) says,
// so that it shows the right way up: 2 mirrored, 3 turned half round, 4
// flipped, 5 transposed, 6 turned a quarter clockwise, 7 transposed across
// the other diagonal, 8 turned a quarter anticlockwise. Takes ownership of
// image and returns the turned image: the same one for 1 to 4 (turned in
// place) and for any other value, a new one for 5 to 8 (the input freed).
// Null, with image untouched and still the caller's, when there is no memory
// for the new one.
raster_image* image_orient(raster_image* image, int32_t orientation);
void image_view(raster_image* out, int32_t top, int32_t left, const raster_image* source,
                int32_t width, int32_t height);

void image_copy(raster_image* destination, const raster_image* source);
bool image_convert(raster_image* destination, const raster_image* source);
void image_compose(const raster_image* source, raster_image* destination);
void image_fill(raster_image* image, uint32_t color);
void image_fill_blend(raster_image* image, uint32_t color);
void image_gradient(raster_image* image, uint32_t top_color, uint32_t bottom_color);
void image_tile(raster_image* destination, const raster_image* pattern, int32_t phase_x, int32_t phase_y);
uint32_t image_get_pixel(const raster_image* image, int32_t row, int32_t column);
raster_image image_bounds(const raster_image* source, uint32_t background, int32_t* out_left, int32_t* out_top);
void image_darken_by_mask(const raster_image* mask, raster_image* image);
void image_blend_masked(raster_image* destination, const raster_image* source, const raster_image* mask);
void image_clear_pixel(raster_image* image, int32_t x, int32_t y);
