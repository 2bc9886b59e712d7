#include "tests/imageio/reads.h"

#include "imageio/readers/pcd.h"
#include "imageio/readers/psd.h"
#include "imageio/readers/tla.h"

void take_buffer(uint8_t* buffer, uint32_t flags, read_result* result)
{
    result->error = is_get_last_error();
    result->has_buffer = buffer != nullptr;
    if (!buffer)
        return;
    const uint64_t bytes = (flags & IS_FLAG_PACKED_DIB) ? packed_dib_bytes(buffer)
                                                        : buffer_bytes(result->width, result->height, result->depth);
    result->pixels.assign(buffer, buffer + bytes);
    is_global_free(buffer);
}

read_result read_bmp(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags, bool with_palette)
{
    return read_format(is_read_bmp, file, depth, flags, with_palette);
}

read_result read_generic(ISSourceRecord* source, int32_t wanted_depth)
{
    read_result result;
    uint8_t* buffer = is_read_generic(source, wanted_depth, &result.width, &result.height, &result.depth,
                                      result.palette.data());
    take_buffer(buffer, 0, &result);
    return result;
}

read_result read_generic(const std::vector<uint8_t>& file, int32_t wanted_depth)
{
    memory_source source(file);
    return read_generic(source.get(), wanted_depth);
}

read_result read_format(format_read_fn read, const std::vector<uint8_t>& file, int32_t depth, uint32_t flags,
                        bool with_palette)
{
    memory_source source(file);
    read_result result;
    result.depth = depth;
    uint8_t* buffer = read(source.get(), &result.width, &result.height, depth,
                           with_palette ? result.palette.data() : nullptr, flags);
    take_buffer(buffer, flags, &result);
    return result;
}

read_result read_psd(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags)
{
    memory_source source(file);
    read_result result;
    // CMYK kept unconverted has four bytes a pixel whatever the depth.
    result.depth = (flags & PSD_FLAG_KEEP_CMYK) && file.size() > 25 && file[25] == PSD_CMYK ? 32 : depth;
    uint8_t* buffer = is_read_psd(source.get(), &result.width, &result.height, depth, result.palette.data(), flags);
    take_buffer(buffer, flags, &result);
    return result;
}

read_result read_tla(const std::vector<uint8_t>& file, int32_t mode, uint32_t flags)
{
    memory_source source(file);
    read_result result;
    result.depth = mode == TLA_MODE_INDEXED ? 8 : mode == TLA_MODE_16 ? 16 : mode == TLA_MODE_24 ? 24 : 32;
    uint8_t* buffer = is_read_tla(source.get(), &result.width, &result.height, result.palette.data(), mode, flags);
    take_buffer(buffer, flags, &result);
    return result;
}

read_result read_pcd(const std::vector<uint8_t>& file, int32_t resolution, uint32_t flags)
{
    memory_source source(file);
    read_result result;
    result.depth = 24;
    take_buffer(is_read_pcd(source.get(), &result.width, &result.height, resolution, flags), flags, &result);
    return result;
}

std::vector<uint8_t> rgb_at(const read_result& r, uint32_t x, uint32_t y)
{
    const uint8_t* p = r.pixels.data() + ((uint64_t)y * r.width + x) * 3;
    return {p[0], p[1], p[2]};
}
