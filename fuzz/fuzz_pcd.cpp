// Fuzzes the Photo CD reader. The first byte chooses what the rest is:
// even, a whole image pack read at resolution 1 to 3 (larger ones need more
// memory than the fuzz limit); odd, a difference stream added to small
// planes whose size and table count come from the next two bytes, which is
// where the Huffman decoder meets hostile row headers and codes.
#include "fuzz/fuzz_common.h"

#include "imageio/readers/pcd.h"

#include <vector>

namespace {

void read_pack(const uint8_t* data, size_t size, int32_t resolution)
{
    ISSourceRecord* source = fuzz_open(data, size);
    if (!source)
        return;
    for (uint32_t flags : {0u, (uint32_t)IS_FLAG_PACKED_DIB}) {
        is_seek(source, 0, 0);
        uint32_t width = 0, height = 0;
        uint8_t* buffer = is_read_pcd(source, &width, &height, resolution, flags);
        fuzz_check_and_free(buffer, buffer && flags ? packed_dib_bytes(buffer)
                                                    : buffer_bytes(width, height, 24));
    }
    is_close_source(source);
}

void add_differences(const uint8_t* data, size_t size, uint8_t shape)
{
    if (size < 2)
        return;
    const uint32_t width = 8u * (1 + data[0] % 16), height = 2u * (1 + data[1] % 16);
    const int tables = shape & 2 ? 3 : 1;
    ISSourceRecord* source = fuzz_open(data + 2, size - 2);
    if (!source)
        return;
    std::vector<uint8_t> y(width * height), c1(width * height), c2(width * height);
    const pcd_planes planes{y.data(), c1.data(), c2.data(), width, height};
    read_context context{CISIO(source), is_thread_state()};
    pcd_add_differences(context, planes, width, height, tables);
    is_close_source(source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    if (data[0] & 1)
        add_differences(data + 1, size - 1, data[0]);
    else
        read_pack(data + 1, size - 1, 1 + data[0] / 2 % 3);
    return 0;
}
