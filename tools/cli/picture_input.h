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
