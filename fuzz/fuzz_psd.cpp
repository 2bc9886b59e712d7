// Fuzzes the PSD reader at every depth, with CMYK kept, as a packed bitmap,
// and its header query with the resolution resource.
#include "fuzz/fuzz_common.h"

#include "imageio/readers/psd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return 0;
    uint8_t palette[1024];
    for (int32_t depth : {8, 24, 32}) {
        for (uint32_t flags : {0u, PSD_FLAG_KEEP_CMYK, (uint32_t)IS_FLAG_PACKED_DIB}) {
            is_seek(source, 0, 0);
            uint32_t width = 0, height = 0;
            uint8_t* buffer = is_read_psd(source, &width, &height, depth, palette, flags);
            if (buffer && (flags & IS_FLAG_PACKED_DIB))
                fuzz_check_and_free(buffer, packed_dib_bytes(buffer));
            else  // CMYK kept holds four bytes a pixel, more than the depth's share
                fuzz_check_and_free(buffer, buffer_bytes(width, height, depth));
        }
    }
    is_seek(source, 0, 0);
    read_context context{CISIO(source), is_thread_state()};
    psd_header_query query;
    psd_query_header(context, &query, true);
    is_close_source(source);
    return 0;
}
