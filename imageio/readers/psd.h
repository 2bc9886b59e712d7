// The layered image file reader ("8BPS", version 1): the merged image only,
// raw or run-length packed, in bitmap, greyscale, indexed, RGB, CMYK and
// duotone modes, 1, 8 or 16 bits per channel.
#pragma once
#include <cstdint>
#include <vector>

#include "imageio/read_context.h"

enum psd_color_mode : uint16_t {
    PSD_BITMAP = 0,
    PSD_GRAYSCALE = 1,
    PSD_INDEXED = 2,
    PSD_RGB = 3,
    PSD_CMYK = 4,
    PSD_DUOTONE = 8,
};

// Reader flag: a CMYK picture comes back as four bytes a pixel (cyan,
// magenta, yellow, black as stored) instead of being converted.
constexpr uint32_t PSD_FLAG_KEEP_CMYK = 4;

struct psd_header {
    uint16_t channels;
    uint32_t height;
    uint32_t width;
    uint16_t bits;       // per channel: 1, 8 or 16
    uint16_t mode;       // psd_color_mode
};

// Reads and checks the 26-byte header. 0, or 3 (short), 46 (not "8BPS"
// version 1) or 47 (a depth, mode or channel count the reader cannot read).
int32_t psd_read_header(CISIO& io, psd_header* header);

// Depth 8 (values with the palette: 0 and 1 for bitmaps, grey levels,
// indices), 24 or 32; with IS_FLAG_PACKED_DIB a packed bitmap of that depth.
// The image resources are copied to *resources when it is given. A read cut
// short by the data (error 3) or the abort callback (error 14) returns the
// rows decoded until then.
uint8_t* psd_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags, std::vector<uint8_t>* resources = nullptr);

// The generic read's row: psd_read without flags.
uint8_t* psd_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

struct psd_header_query {
    uint32_t width;
    uint32_t height;
    uint16_t mode;
    bool has_resolution;        // resource 1005 was found
    uint32_t x_resolution;      // pixels per unit, 16.16 fixed point
    uint32_t y_resolution;
    uint16_t x_unit;            // 1 per inch, 2 per centimetre
    uint16_t y_unit;
};

// Reads the header and, through the colour data, the image resources; with
// want_resolution the resolution resource is looked up in them.
bool psd_query_header(read_context& context, psd_header_query* query, bool want_resolution);

// 8 for bitmap, greyscale and indexed pictures, 24 for the others; 0 when
// the header cannot be read.
int32_t psd_suggest_depth(read_context& context);

uint8_t* is_read_psd(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags);
