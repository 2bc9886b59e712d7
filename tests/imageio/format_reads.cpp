#include "tests/imageio/format_reads.h"

#include "imageio/readers/psd.h"
#include "imageio/readers/tla.h"

namespace {

read_result finish(uint8_t* buffer, uint32_t flags, int32_t depth, read_result result)
{
    result.error = is_get_last_error();
    result.has_buffer = buffer != nullptr;
    result.depth = depth;
    if (buffer) {
        const uint64_t bytes = (flags & IS_FLAG_PACKED_DIB) ? packed_dib_bytes(buffer)
                                                            : buffer_bytes(result.width, result.height, depth);
        result.pixels.assign(buffer, buffer + bytes);
        is_global_free(buffer);
    }
    return result;
}

}  // namespace

uint64_t packed_dib_bytes(const uint8_t* dib)
{
    const uint32_t width = dib[4] | dib[5] << 8 | dib[6] << 16 | (uint32_t)dib[7] << 24;
    const uint32_t height = dib[8] | dib[9] << 8 | dib[10] << 16 | (uint32_t)dib[11] << 24;
    const uint32_t bits = dib[14] | dib[15] << 8;
    const uint32_t entries = dib[32] | dib[33] << 8;
    return 40 + 4ull * entries + ((uint64_t)width * bits + 31) / 32 * 4 * height;
}

read_result read_psd(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags)
{
    memory_source source(file);
    read_result result;
    uint8_t* buffer = is_read_psd(source.get(), &result.width, &result.height, depth, result.palette.data(), flags);
    // CMYK kept unconverted has four bytes a pixel whatever the depth.
    const int32_t delivered = (flags & PSD_FLAG_KEEP_CMYK) && file.size() > 25 && file[25] == PSD_CMYK ? 32 : depth;
    return finish(buffer, flags, delivered, result);
}

read_result read_tla(const std::vector<uint8_t>& file, int32_t mode, uint32_t flags)
{
    memory_source source(file);
    read_result result;
    uint8_t* buffer = is_read_tla(source.get(), &result.width, &result.height, result.palette.data(), mode, flags);
    const int32_t depth = mode == TLA_MODE_INDEXED ? 8 : mode == TLA_MODE_16 ? 16 : mode == TLA_MODE_24 ? 24 : 32;
    return finish(buffer, flags, depth, result);
}

read_result read_pcd(const std::vector<uint8_t>& file, int32_t resolution, uint32_t flags)
{
    memory_source source(file);
    read_result result;
    uint8_t* buffer = is_read_pcd(source.get(), &result.width, &result.height, resolution, flags);
    return finish(buffer, flags, 24, result);
}

std::vector<uint8_t> rgb_at(const read_result& r, uint32_t x, uint32_t y)
{
    const uint8_t* p = r.pixels.data() + ((uint64_t)y * r.width + x) * 3;
    return {p[0], p[1], p[2]};
}
