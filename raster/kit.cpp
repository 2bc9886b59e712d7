// Kit lifecycle, the allocation hooks with their diagnostics table, the
// multiply table, and creation, release and views of images.
#include "raster/raster_image.h"
#include "raster/kit_memory.h"
#include "raster/kit_test_hooks.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

using alloc_hook = void* (*)(uint64_t);
using free_hook = void (*)(void*);

alloc_hook g_alloc_hook = nullptr;
free_hook g_free_hook = nullptr;
kit_log_fn g_log_hook = nullptr;
kit_shutdown_fn g_shutdown_hook = nullptr;

kit_alloc_entry g_table[kit_alloc_table_size];
uint32_t g_sequence = 1;
uint8_t g_multiply[65536];

void* recording_alloc(uint64_t size)
{
    void* block = os_reserve_commit(size);
    if (!block)
        return nullptr;
    for (kit_alloc_entry& entry : g_table) {
        if (entry.address == nullptr) {
            entry.address = block;
            entry.size = size;
            entry.sequence = g_sequence++;
            return block;
        }
    }
    if (g_log_hook)
        g_log_hook("mem tab is full");
    return block;
}

void recording_free(void* block)
{
    if (!block)
        return;
    os_release(block);
    for (kit_alloc_entry& entry : g_table) {
        if (entry.address == block) {
            entry.address = nullptr;
            break;
        }
    }
}

void build_multiply_table()
{
    for (int a = 0; a < 256; ++a)
        for (int v = 0; v < 256; ++v)
            g_multiply[a * 256 + v] = (uint8_t)std::floor((255 - a) * v / 255.0 + 0.5);
}

}  // namespace

void kit_init()
{
    g_alloc_hook = recording_alloc;
    g_free_hook = recording_free;
    build_multiply_table();
}

void kit_shutdown()
{
    if (g_shutdown_hook)
        g_shutdown_hook();
}

void* kit_alloc(uint64_t size)
{
    return g_alloc_hook ? g_alloc_hook(size) : nullptr;
}

void kit_free(void* block)
{
    if (g_free_hook)
        g_free_hook(block);
}

kit_alloc_hook kit_replace_alloc_hook(kit_alloc_hook hook)
{
    const kit_alloc_hook previous = g_alloc_hook;
    g_alloc_hook = hook;
    return previous;
}

void kit_set_log_hook(kit_log_fn hook) { g_log_hook = hook; }
void kit_set_shutdown_hook(kit_shutdown_fn hook) { g_shutdown_hook = hook; }
const kit_alloc_entry* kit_alloc_table() { return g_table; }
uint32_t kit_alloc_sequence() { return g_sequence; }
const uint8_t* kit_multiply_table() { return g_multiply; }

raster_image* image_create(int32_t type, int32_t width, int32_t height)
{
    if (width < 0 || height < 0)
        return nullptr;
    const int64_t stride = padded_row_bytes(width, pixel_color_bytes(type));
    const int64_t alpha_stride = padded_row_bytes(width, pixel_alpha_bytes(type));
    // Each factor fits in 34 bits, so the product cannot overflow 64 bits.
    const uint64_t block = (uint64_t)height * (uint64_t)(stride + alpha_stride) + sizeof(raster_image);
    if (stride > std::numeric_limits<int32_t>::max() || alpha_stride > std::numeric_limits<int32_t>::max() ||
        block > std::numeric_limits<uint32_t>::max() || block > std::numeric_limits<size_t>::max())
        return nullptr;

    auto* image = static_cast<raster_image*>(kit_alloc(block));
    if (!image)
        return nullptr;
    uint8_t* base = reinterpret_cast<uint8_t*>(image) + sizeof(raster_image);
    image->width = width;
    image->height = height;
    image->type = type;
    image->stride = (int32_t)stride;
    image->pixels = base;
    image->alpha_stride = (int32_t)alpha_stride;
    image->alpha = alpha_stride ? base + (size_t)height * (size_t)stride : nullptr;
    image->block_size = (uint32_t)block;
    return image;
}

namespace {

// What follows the record of an adopted image, in place of its pixels.
struct adopted_pixels {
    pixel_release_fn release;
};

// An image made by image_create has its pixels right behind its record; an
// adopted one has them elsewhere.
bool is_adopted(const raster_image* image)
{
    return image->pixels != reinterpret_cast<const uint8_t*>(image) + sizeof(raster_image);
}

}  // namespace

raster_image* image_adopt(int32_t type, int32_t width, int32_t height, int32_t stride, uint8_t* pixels,
                          pixel_release_fn release)
{
    if (width < 0 || height < 0 || !pixels || !release || pixel_alpha_bytes(type) != 0 || stride % 4 != 0 ||
        stride < padded_row_bytes(width, pixel_color_bytes(type)))
        return nullptr;
    constexpr uint64_t block = sizeof(raster_image) + sizeof(adopted_pixels);
    auto* image = static_cast<raster_image*>(kit_alloc(block));
    if (!image)
        return nullptr;
    *image = {width, height, type, pixels, stride, nullptr, 0, (uint32_t)block};
    reinterpret_cast<adopted_pixels*>(image + 1)->release = release;
    return image;
}

void image_free(raster_image* image)
{
    if (image && is_adopted(image))
        reinterpret_cast<adopted_pixels*>(image + 1)->release(image->pixels);
    kit_free(image);
}

void image_view(raster_image* out, int32_t top, int32_t left, const raster_image* source, int32_t width,
                int32_t height)
{
    *out = *source;
    out->width = width;
    out->height = height;
    out->pixels = source->pixels + (ptrdiff_t)top * source->stride + (ptrdiff_t)left * pixel_color_bytes(source->type);
    if (source->alpha)
        out->alpha = source->alpha + (ptrdiff_t)top * source->alpha_stride +
                     (ptrdiff_t)left * pixel_alpha_bytes(source->type);
}
