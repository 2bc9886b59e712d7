// The roads by which a picture file is read, chosen by the image library's
// format code: the generic read at 24 or 32 bits, the Photo CD image pack
// read, the JPEG 2000 module, or metafile rendering. Each road yields one
// library buffer of packed rows (red, green, blue and, at 4 bytes a pixel,
// alpha), or none with the reason.
#pragma once
#include <cstdint>

#include "imageio/imageio.h"

enum class picture_road {
    generic_rgb24,
    generic_rgba32,  // the only road that can bring transparency
    photo_cd,
    jpeg2000,
    metafile,
    refused,
};

picture_road road_for_format(int32_t format_code);

struct road_result {
    uint8_t* buffer = nullptr;     // released with is_global_free
    uint32_t width = 0;
    uint32_t height = 0;
    int bytes_per_pixel = 3;
    int32_t error = 0;             // the library's code when there is no buffer
    const char* reason = nullptr;  // a text of the road's own, or null for the code's text
    int32_t orientation = 1;       // how to turn the picture to show it (EXIF, JPEG only)
};

// Why a picture is refused whose buffer would pass the library's limit.
extern const char too_large_reason[];

// The outcome of one library call that yields a buffer, with the thread's
// last error taken at once, before a later call overwrites it.
road_result delivered(uint8_t* buffer, uint32_t width, uint32_t height, int bytes_per_pixel);

// Generic read at depth 24 or 32.
road_result read_generic_road(ISSourceRecord* source, int32_t depth);

// Photo CD image pack at the highest resolution (6 down to 1) that reads,
// rewinding the source after each failed attempt.
using pcd_read_fn = uint8_t* (*)(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t resolution,
                                 uint32_t flags);
road_result read_photo_cd_road(ISSourceRecord* source, pcd_read_fn read = is_read_pcd);

// JPEG 2000 through the module that reads the source via a copy of the
// library's callback table.
struct j2k_module {
    bool (*set_io_callbacks)(const is_io_callbacks* table);
    uint8_t* (*read)(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, double scale,
                     uint32_t flags);
};
j2k_module default_j2k_module();
road_result read_jpeg2000_road(ISSourceRecord* source, const j2k_module& module = default_j2k_module());

// Metafiles are rendered from their path by a renderer that only the Windows
// program has: it installs one at start-up with set_metafile_renderer. With
// none installed (the native build) the road refuses every metafile.
using metafile_renderer_fn = uint8_t* (*)(const char* path, uint32_t* width, uint32_t* height, int32_t wanted_width,
                                          int32_t wanted_height, uint32_t background, uint32_t flags);
void set_metafile_renderer(metafile_renderer_fn renderer);
road_result render_metafile_road(const char* path);

// The size a metafile of the given natural size is rendered at: its longer
// side becomes 1000 pixels and the aspect stays (each side truncated, and at
// least 1).
void metafile_render_size(uint32_t natural_width, uint32_t natural_height, int32_t* width, int32_t* height);
