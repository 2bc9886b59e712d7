// Fuzzes detection and the generic read at every family, with and without
// an abort callback.
#include "fuzz/fuzz_common.h"

namespace {
int32_t stop_after_two(int32_t step, int32_t, void*)
{
    return step < 2;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    is_guess_format(source);
    uint8_t palette[1024];
    for (int32_t wanted : {0, 1, 8, 24, 32}) {
        uint32_t width = 0, height = 0;
        int32_t depth = 0;
        uint8_t* buffer = is_read_generic(source, wanted, &width, &height, &depth, palette);
        fuzz_check_and_free(buffer, buffer_bytes(width, height, depth));
    }
    is_set_abort_callback(stop_after_two, nullptr);
    uint32_t width = 0, height = 0;
    fuzz_check_and_free(is_read_generic_rgb24(source, &width, &height), buffer_bytes(width, height, 24));
    is_set_abort_callback(nullptr, nullptr);
    is_close_source(source);
    return 0;
}
