// What the PSD reader's parts share: the sections before the pixel data and
// the decoding of the channel planes.
#pragma once
#include <cstdint>
#include <vector>

#include "imageio/readers/psd.h"

enum : uint16_t { PSD_RAW = 0, PSD_RUN_LENGTH = 1 };

// Builds the reader's palette (blue, green, red, 0) for the colour mode and
// reads or skips the colour mode data. 0 or the error.
int32_t psd_read_color_data(CISIO& io, const psd_header& header, uint8_t* palette);

// Reads a section's 32-bit length and then its bytes into *keep, or skips
// them when keep is null. 0, or 1 (too large to keep) or 3.
int32_t psd_read_section(CISIO& io, std::vector<uint8_t>* keep);

// Channel planes used for the colour mode: 1, 3 (RGB) or 4 (CMYK).
uint32_t psd_planes_used(uint16_t mode);

// Decodes the first `planes` channels from the current position (just after
// the compression word) into out, where pixel x of row y of channel c is
// byte (y x width + x) x pixel_bytes + c. Samples are 8-bit (the high byte
// of 16-bit samples; 0 or 1 for bitmaps). Sets context.error to 3 or 14 when
// the read ends early (rows decoded so far kept), or to 1 or 47.
void psd_decode_planes(read_context& context, const psd_header& header, uint16_t compression, uint8_t* out,
                       uint32_t pixel_bytes, uint32_t planes);

// Unpacks one run-length row of `count` bytes into exactly out_bytes bytes.
// 0, or 3 when its packets need more bytes than the row holds. Bytes left
// over once the row is full are traced and ignored.
int32_t psd_unpack_row(const uint8_t* in, uint32_t count, uint8_t* out, uint32_t out_bytes);
