// The image data of a PNG (the zlib stream its IDAT chunks carry), made fast
// for the large sheets tilora-cli pages writes: every row filtered with "Up"
// (the difference to the row above), the rows cut into bands that are
// compressed side by side with zlib's fastest level and run-length matching,
// and the bands joined into one stream, each but the last ended by a flush
// to a byte boundary. The pixels come back exactly as they went in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct png_row_source {
    uint32_t height;
    size_t row_bytes;  // without the filter byte
    // Fills one row of row_bytes bytes; called from several threads at once.
    void (*fill)(const void* context, uint32_t y, uint8_t* row);
    const void* context;
};

// The zlib stream, or false when zlib cannot be set up or memory runs out.
// bands 0 chooses one band a processor.
bool compress_png_rows(const png_row_source& rows, std::vector<uint8_t>* stream, unsigned bands = 0);
