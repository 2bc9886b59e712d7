// Inside the JPEG 2000 module: its exception, OpenJPEG fed through the
// callback table, and the conversion of the decoded components.
#pragma once
#include <cstdint>
#include <memory>

#include <openjpeg.h>

#include "imageio/exception.h"
#include "imageio/imageio.h"

namespace RAZA2V {

// The module's failures, a type of its own so that they are told apart from
// the library's; caught at j2k_read's edge and made its last error.
class ISException : public ::ISException {
public:
    using ::ISException::ISException;
};

}  // namespace RAZA2V

// A source as the module sees it: reached only through the table, with the
// JPEG 2000 data starting at base.
struct j2k_source {
    is_io_callbacks table;
    ISSourceRecord* source;
    int64_t base;
};

struct j2k_image_release {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};
using j2k_image = std::unique_ptr<opj_image_t, j2k_image_release>;

// Recognises a JP2 file or a codestream (at the current position or 4 bytes
// further) and decodes it. Throws RAZA2V::ISException 1000 when it cannot,
// 1 when the decoded components would pass the buffer limit.
j2k_image j2k_decode(const is_io_callbacks& table, ISSourceRecord* source);

// The decoded image at the depth (8, 16, 24, 32, 48, 64; packed bitmap at 8,
// 24 or 32 with IS_FLAG_PACKED_DIB), sampled at the scale. Throws
// RAZA2V::ISException (1000 component errors, 5 a depth the image cannot be
// delivered at, 1 no memory, 14 cancelled).
uint8_t* j2k_convert(const opj_image_t& image, int32_t depth, double scale, uint32_t flags,
                     const is_io_callbacks& table, uint32_t* width, uint32_t* height);
