// Fuzzes the JPEG reader at each depth, with the flags that change its way
// through the data, and at a reduced scale, and the EXIF orientation of what
// it read.
#include "fuzz/fuzz_common.h"
#include "imageio/readers/exif.h"
#include "imageio/readers/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    const struct {
        int32_t depth;
        uint32_t flags;
    } reads[] = {{8, 0}, {24, 0}, {32, JPEG_FLAG_KEEP_CMYK}, {24, JPEG_FLAG_KEEP_YCBCR | JPEG_FLAG_KEEP_POSITION}};
    for (const auto& r : reads) {
        is_seek(source, 0, 0);
        uint32_t width = 0, height = 0;
        fuzz_check_and_free(is_read_jpeg(source, &width, &height, r.depth, r.flags),
                            buffer_bytes(width, height, r.depth));
        // The saved APP1 markers go through the EXIF orientation parser.
        const int32_t orientation = is_last_jpeg_orientation();
        if (orientation < 1 || orientation > 8)
            __builtin_trap();
    }
    is_set_jpeg_scale(1, 4);
    is_seek(source, 0, 0);
    uint32_t width = 0, height = 0;
    uint8_t* dib = is_read_jpeg(source, &width, &height, 24, IS_FLAG_PACKED_DIB | JPEG_FLAG_PAD_ROWS);
    is_set_jpeg_scale(1, 1);
    fuzz_check_dib_and_free(dib);
    is_close_source(source);
    return 0;
}
