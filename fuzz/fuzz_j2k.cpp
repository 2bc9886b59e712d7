// Fuzzes the JPEG 2000 module through the library's callback table, at the
// application's depth and at the others, and at a reduced scale.
#include "fuzz/fuzz_common.h"
#include "imageio/readers/j2k.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        is_io_callbacks* table = is_make_io_callbacks(0);
        const bool done = j2k_set_io_callbacks(table);
        is_global_free(table);
        return done;
    }();
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source || !installed)
        return 0;
    const struct {
        int32_t depth;
        double scale;
    } reads[] = {{24, 1.0}, {8, 1.0}, {64, 1.0}, {32, 2.5}};
    for (const auto& r : reads) {
        is_seek(source, 0, 0);
        uint32_t width = 0, height = 0;
        fuzz_check_and_free(j2k_read(source, &width, &height, r.depth, r.scale, 0),
                            buffer_bytes(width, height, r.depth));
    }
    is_close_source(source);
    return 0;
}
