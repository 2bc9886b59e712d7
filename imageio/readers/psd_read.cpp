// The PSD read: header and sections, the planes of the merged image, and
// the conversion to the depth asked for.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/psd_format.h"
#include "imageio/trace.h"

#include <cstring>

namespace {

// Channel values through the palette into red, green, blue (and alpha 255).
owned_buffer expand_values(const uint8_t* values, uint64_t pixels, const uint8_t* palette, uint32_t out_bytes)
{
    owned_buffer out = alloc_pixels(pixels, out_bytes);
    if (!out)
        return out;
    for (uint64_t i = 0; i < pixels; ++i) {
        const uint8_t* entry = palette + 4 * values[i];
        uint8_t* to = out.get() + i * out_bytes;
        to[0] = entry[2];
        to[1] = entry[1];
        to[2] = entry[0];
        if (out_bytes == 4)
            to[3] = 255;
    }
    return out;
}

// CMYK as stored (0 is full ink) to red, green, blue, in place; the result
// is packed at out_bytes a pixel (3, or 4 with alpha 255).
void convert_cmyk(uint8_t* pixels, uint64_t count, uint32_t out_bytes)
{
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* from = pixels + 4 * i;
        const uint32_t k = from[3];
        const uint8_t red = (uint8_t)(from[0] * k / 255);
        const uint8_t green = (uint8_t)(from[1] * k / 255);
        const uint8_t blue = (uint8_t)(from[2] * k / 255);
        uint8_t* to = pixels + out_bytes * i;
        to[0] = red;
        to[1] = green;
        to[2] = blue;
        if (out_bytes == 4)
            to[3] = 255;
    }
}

// Reads everything between the header and the compression word: colour
// data, image resources, layers. 0 or the error.
int32_t read_sections(CISIO& io, const psd_header& header, uint8_t* palette, std::vector<uint8_t>* resources)
{
    if (int32_t error = psd_read_color_data(io, header, palette))
        return error;
    if (int32_t error = psd_read_section(io, resources))
        return error;
    uint8_t length_bytes[4];
    if (!io.read_exactly(length_bytes, 4))
        return IS_ERR_READ;
    const uint32_t layers_length = be32(length_bytes);
    if (layers_length != 0 && !io.seek(layers_length, 1))
        return IS_ERR_READ;
    is_trace(3, "read %d. layersLen %d\n", (int)io.tell(), (int)layers_length);
    return IS_OK;
}

// The merged image at the depth asked for (8: one value a pixel), before
// any packing into a bitmap.
owned_buffer read_pixels(read_context& context, const psd_header& header, int32_t depth, uint8_t* palette,
                     uint32_t flags)
{
    CISIO& io = context.io;
    uint8_t compression_bytes[2];
    if (!io.read_exactly(compression_bytes, 2))
        return context.fail(IS_ERR_READ);
    const uint16_t compression = be16(compression_bytes);
    if (compression != PSD_RAW && compression != PSD_RUN_LENGTH)
        return context.fail(IS_ERR_READ);

    const uint32_t planes = psd_planes_used(header.mode);
    const bool keep_cmyk = header.mode == PSD_CMYK && (flags & PSD_FLAG_KEEP_CMYK);
    // Bytes a pixel while decoding: the planes side by side, room for alpha at 32.
    const uint32_t pixel_bytes = planes == 3 && depth == 32 ? 4 : planes;
    const uint64_t pixels = (uint64_t)header.width * header.height;
    owned_buffer buffer = alloc_pixels(pixels, pixel_bytes);
    if (!buffer)
        return context.fail(IS_ERR_NO_MEMORY);
    psd_decode_planes(context, header, compression, buffer.get(), pixel_bytes, planes);
    if (context.error != IS_OK && context.error != IS_ERR_READ && context.error != IS_ERR_CANCELLED)
        return owned_buffer();

    if (planes == 1) {
        if (depth == 8)
            return buffer;
        owned_buffer rgb = expand_values(buffer.get(), pixels, palette, depth == 32 ? 4 : 3);
        if (!rgb)
            return context.fail(IS_ERR_NO_MEMORY);
        return rgb;
    }
    if (planes == 3) {
        if (depth == 32)
            for (uint64_t i = 0; i < pixels; ++i)
                buffer.get()[4 * i + 3] = 255;
        return buffer;
    }
    // CMYK: the buffer keeps its four bytes a pixel; converted pictures use
    // the front of it.
    if (!keep_cmyk)
        convert_cmyk(buffer.get(), pixels, depth == 32 ? 4 : 3);
    return buffer;
}

}  // namespace

uint8_t* psd_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags, std::vector<uint8_t>* resources)
{
    if (depth != 8 && depth != 24 && depth != 32)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    if (depth == 8 && !palette && !(flags & IS_FLAG_PACKED_DIB))
        return context.fail(IS_ERR_BAD_ARGUMENT);
    // The caller's palette is filled only for values; colour reads use their own.
    uint8_t own_palette[1024];
    if (depth != 8 || !palette)
        palette = own_palette;
    psd_header header;
    if (int32_t error = psd_read_header(context.io, &header))
        return context.fail(error);
    if (depth == 8 && psd_planes_used(header.mode) != 1)
        return context.fail(IS_ERR_WRONG_DEPTH);
    if (int32_t error = read_sections(context.io, header, palette, resources))
        return context.fail(error);

    owned_buffer buffer = read_pixels(context, header, depth, palette, flags);
    if (!buffer)
        return nullptr;
    if (flags & IS_FLAG_PACKED_DIB) {
        const bool cmyk_kept = header.mode == PSD_CMYK && (flags & PSD_FLAG_KEEP_CMYK);
        const dib_shape shape{header.width, header.height, cmyk_kept ? 32 : depth};
        if (!(buffer = packed_dib_from_rows(buffer.get(), shape, palette, &context.error)))
            return nullptr;
    }
    *width = header.width;
    *height = header.height;
    return buffer.release();
}

uint8_t* psd_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return psd_read(context, width, height, depth, palette, 0);
}

uint8_t* is_read_psd(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return psd_read(context, width, height, depth, palette, flags);
    });
}
