#include "tests/imageio/entry_reads.h"

uint64_t packed_dib_declared_bytes(const uint8_t* dib)
{
    auto le32 = [](const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; };
    return 40 + 4ull * le32(dib + 32) + le32(dib + 20);
}

read_result read_format(format_read_fn read, const std::vector<uint8_t>& file, int32_t depth, uint32_t flags,
                        bool with_palette)
{
    memory_source source(file);
    read_result result;
    uint8_t* buffer = read(source.get(), &result.width, &result.height, depth,
                           with_palette ? result.palette.data() : nullptr, flags);
    result.error = is_get_last_error();
    result.depth = depth;
    result.has_buffer = buffer != nullptr;
    if (buffer) {
        const uint64_t bytes = (flags & IS_FLAG_PACKED_DIB) ? packed_dib_declared_bytes(buffer)
                                                            : buffer_bytes(result.width, result.height, depth);
        result.pixels.assign(buffer, buffer + bytes);
        is_global_free(buffer);
    }
    return result;
}

int32_t abort_at_step(int32_t step, int32_t, void* user)
{
    abort_at* at = static_cast<abort_at*>(user);
    ++at->calls;
    return step == at->step ? 0 : 1;
}
