// Reading any supported picture file into a new raster image, exactly as the
// program opens files: the extension gate, the format the content reveals,
// that format's road through the image library, and the copy into the
// program's own image type.
#pragma once
#include <cstdint>

#include "raster/raster_image.h"

// Why a load failed: the image library's error code (imageio/codes.h) and a
// readable reason. A loader refusal carries the library code closest to it
// (2 for an extension not accepted or an unrecognised format, 17 for a format
// the program does not read, 1 when the image cannot be created).
struct load_failure {
    int32_t code = 0;
    const char* reason = "";  // never null; static text
};

// A new image (PIXEL_BGR24, or PIXEL_BGR24 | PIXEL_ALPHA8 with premultiplied
// colours for a PNG with transparency) owned by the caller, or null. With
// check_extension set, a path whose extension is not in format_table is
// refused before the file is opened. When failure is given it receives the
// reason of a failed load (and code 0 after success). A JPEG whose EXIF
// orientation says it was taken turned or mirrored is turned the right way up.
// Opaque pictures are made from the library's buffer in place, so a large
// picture is never held twice.
raster_image* load_picture(const char* path, bool check_extension, load_failure* failure = nullptr);
