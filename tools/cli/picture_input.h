// Reading a picture for a command, with the one-line failure message that
// every command prints the same way.
#pragma once
#include <cstdint>
#include <string>

#include "raster/raster_image.h"

// Prints "tilora-cli: cannot read FILE: REASON (code N)" and returns 1.
int report_read_failure(const char* file, int32_t code, const char* reason);

// Prints "tilora-cli: cannot write FILE: REASON" and returns 1.
int report_write_failure(const char* file, const std::string& reason);

// The picture as the program loads it (with the extension test when
// check_extension is set), or null after the failure line was printed.
raster_image* read_picture(const char* file, bool check_extension);

// The picture as 24-bit colour, as the program keeps its working picture: an
// image of another type (with an alpha plane) is converted. Takes ownership
// of image and frees it when it is replaced; null when there is no memory
// for the converted copy.
raster_image* as_bgr24(raster_image* image);
