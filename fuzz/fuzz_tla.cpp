// Fuzzes the TLA reader in every output mode, plain and as a packed bitmap.
#include "fuzz/fuzz_common.h"

#include "imageio/readers/tla.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    uint8_t palette[1024];
    for (int32_t mode = TLA_MODE_INDEXED; mode <= TLA_MODE_32; ++mode) {
        for (uint32_t flags : {0u, (uint32_t)IS_FLAG_PACKED_DIB}) {
            is_seek(source, 0, 0);
            uint32_t width = 0, height = 0;
            uint8_t* buffer = is_read_tla(source, &width, &height, palette, mode, flags);
            const int32_t depth = mode == TLA_MODE_INDEXED ? 8 : mode == TLA_MODE_16 ? 16 : mode == TLA_MODE_24 ? 24 : 32;
            fuzz_check_and_free(buffer, buffer && flags ? packed_dib_bytes(buffer)
                                                        : buffer_bytes(width, height, depth));
        }
    }
    is_close_source(source);
    return 0;
}
