// libtiff fed from a source, and what the TIFF reader's parts share.
#pragma once
#include <cstdint>
#include <memory>

#include <tiffio.h>

#include "imageio/read_context.h"

// A TIFF file open with libtiff over a source.
class tiff_file {
public:
    tiff_file();
    ~tiff_file();
    tiff_file(const tiff_file&) = delete;
    tiff_file& operator=(const tiff_file&) = delete;

    // Rewinds the source and opens it, reading through the source; libtiff's
    // messages go to the trace hook and none of its allocations may pass
    // the buffer limit. Then selects the directory. 0, or the error: 3 (no
    // rewind), 20 (libtiff refuses the file), 5 (no such directory).
    int32_t open(CISIO& io, int32_t directory);
    TIFF* get() const { return tif_; }

    // What libtiff's client procedures work on.
    struct client;

private:
    std::unique_ptr<client> client_;
    TIFF* tif_ = nullptr;
};

// The tags the reader decides by.
struct tiff_directory {
    uint32_t width = 0;
    uint32_t length = 0;
    uint16_t bits_per_sample = 1;
    uint16_t samples_per_pixel = 1;
    uint16_t extra_samples = 0;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE;
    bool has_photometric = false;
    uint16_t photometric = 0;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    float x_resolution = 0;
    float y_resolution = 0;
    uint16_t resolution_unit = RESUNIT_INCH;

    // Samples per pixel less extra samples (never below 0).
    uint16_t colour_samples() const
    {
        return (uint16_t)(extra_samples < samples_per_pixel ? samples_per_pixel - extra_samples : 0);
    }
};

tiff_directory read_tiff_directory(TIFF* tif);

// One bit a sample and, unless planar with several colour samples, either a
// PhotometricInterpretation tag or exactly one colour sample.
bool tiff_is_bilevel(const tiff_directory& dir);

// True colour at 24 or 32 bits, as the Orientation tag says the picture is
// displayed (as stored with TIFF_FLAG_IGNORE_ORIENTATION).
uint8_t* tiff_read_true_colour(read_context& context, TIFF* tif, const tiff_directory& dir, int32_t depth,
                               uint32_t flags, uint32_t* width, uint32_t* height);

// Bilevel, grey and palette images at 1, 8 or 16 bits from strips or tiles.
uint8_t* tiff_read_samples(read_context& context, TIFF* tif, const tiff_directory& dir, int32_t depth,
                           uint8_t* palette);
