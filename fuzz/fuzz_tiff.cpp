// Fuzzes the TIFF reader: true colour, the sample paths, a second directory
// and the packed bitmap whose depth follows the file.
#include "fuzz/fuzz_common.h"
#include "imageio/readers/tiff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    uint8_t palette[1024];
    const struct {
        int32_t directory;
        int32_t depth;
    } reads[] = {{0, 1}, {0, 8}, {0, 16}, {0, 24}, {0, 32}, {1, 24}};
    for (const auto& r : reads) {
        uint32_t width = 0, height = 0;
        fuzz_check_and_free(is_read_tiff(source, &width, &height, r.directory, r.depth, palette, 0),
                            buffer_bytes(width, height, r.depth));
    }
    uint32_t width = 0, height = 0;
    uint8_t* dib = is_read_tiff(source, &width, &height, 0, 0, nullptr, IS_FLAG_PACKED_DIB);
    fuzz_check_dib_and_free(dib);
    is_close_source(source);
    return 0;
}
