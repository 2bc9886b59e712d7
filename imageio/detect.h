// Format detection by content, with the file-name extension as fallback.
#pragma once
#include <cstdint>

#include "imageio/source.h"

// Format code of the data from the current position on (IS_FORMAT_*).
// *error is 3 when the data could not be read, else 0.
int32_t detect_format(CISIO& io, int32_t* error);

// Reader index (reader_table.h) for a format code; codes without a reader
// fall back to the extension of the file name.
int32_t reader_index_for(int32_t format_code, const char* file_name);
int32_t reader_index_from_extension(const char* file_name);

// The extension of the file name's last component from its last "." on
// (including the dot), or "" when it has none.
const char* file_extension(const char* file_name);
