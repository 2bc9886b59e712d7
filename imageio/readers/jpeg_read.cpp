// The JPEG read: header, scale and colour space, the depths each kind of
// file can be delivered at, and the scanline loop.
#include "imageio/readers/jpeg.h"

#include "imageio/buffer.h"
#include "imageio/readers/jpeg_glue.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/trace.h"

#include <cstring>
#include <vector>

namespace {

enum jpeg_class { JPEG_GREY, JPEG_RGB, JPEG_YCBCR, JPEG_CMYK };

jpeg_class classify(const jpeg_decompress_struct& cinfo, uint32_t flags)
{
    switch (cinfo.output_components) {
    case 1: return JPEG_GREY;
    case 3: return (flags & JPEG_FLAG_KEEP_YCBCR) ? JPEG_YCBCR : JPEG_RGB;
    case 4:
        if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK)
            return JPEG_CMYK;
        break;
    default: break;
    }
    throw ISException(IS_ERR_JPEG, "Invalid JPG colorspace");
}

// The depth delivered for the wanted one, or ISException 28.
int32_t delivered_depth(jpeg_class kind, int32_t depth, uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    switch (kind) {
    case JPEG_GREY:
        if (packed)
            return 8;
        if (depth == 8 || depth == 24)
            return depth;
        throw ISException(IS_ERR_WRONG_DEPTH, "Invalid bit depth requested (can't read 8-bit to 32-bit)");
    case JPEG_RGB:
        if (depth == 24)
            return 24;
        throw ISException(IS_ERR_WRONG_DEPTH, "Invalid bit depth requested (can't read RGB to any other bit depth)");
    case JPEG_YCBCR:
        if (depth == 24)
            return 24;
        throw ISException(IS_ERR_WRONG_DEPTH,
                          "Invalid bit depth requested (can't read YCbCr to any other bit depth)");
    case JPEG_CMYK:
        if (flags & JPEG_FLAG_KEEP_CMYK) {
            if (depth == 32)
                return 32;
            throw ISException(IS_ERR_WRONG_DEPTH, "Invalid bit depth requested (can only read CMYK/YCCK to 32bpp)");
        }
        if (packed || depth == 24)
            return 24;
        throw ISException(IS_ERR_WRONG_DEPTH, "Invalid bit depth requested");
    }
    throw ISException(IS_ERR_WRONG_DEPTH, "Invalid bit depth requested");
}

// One decoded scanline into an output row of the delivered depth.
void convert_row(jpeg_class kind, const uint8_t* in, uint32_t width, int32_t depth, uint8_t* out)
{
    if (kind == JPEG_GREY && depth == 24) {
        for (uint32_t x = 0; x < width; ++x, out += 3)
            out[0] = out[1] = out[2] = in[x];
    } else if (kind == JPEG_CMYK && depth == 24) {
        for (uint32_t x = 0; x < width; ++x, in += 4, out += 3) {
            const uint32_t k = in[3];
            out[0] = (uint8_t)(in[0] * k / 255);
            out[1] = (uint8_t)(in[1] * k / 255);
            out[2] = (uint8_t)(in[2] * k / 255);
        }
    } else {
        std::memcpy(out, in, packed_row_bytes(width, depth));
    }
}

void file_markers(const jpeg_decompress_struct& cinfo, is_jpeg_options* jpeg)
{
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_COM) {
            const char* text = reinterpret_cast<const char*>(m->data);
            jpeg->comments.emplace_back(text, strnlen(text, m->data_length));
            is_trace(3, "DIRad JPG comment : %s\n", jpeg->comments.back().c_str());
        } else {
            jpeg->markers.push_back({(int32_t)m->marker, std::vector<uint8_t>(m->data, m->data + m->data_length)});
            is_trace(3, "DIRad JPG marker # %d, len: %d\n", (int)m->marker, (int)m->data_length);
        }
    }
}

// Where decoded rows go: packed rows (padded with JPEG_FLAG_PAD_ROWS) or a
// packed bitmap.
struct jpeg_output {
    owned_buffer plain;
    uint64_t stride = 0;
    packed_dib dib;
    bool packed = false;
    bool colour = false;  // red, green, blue rows, stored in a bitmap as blue, green, red
    std::vector<uint8_t> swap_row;

    bool allocate(const jpeg_decompress_struct& cinfo, jpeg_class kind, int32_t depth, uint32_t flags)
    {
        const uint32_t width = cinfo.output_width, height = cinfo.output_height;
        packed = (flags & IS_FLAG_PACKED_DIB) != 0;
        colour = kind == JPEG_RGB || (kind == JPEG_CMYK && depth == 24);
        if (packed) {
            uint8_t grey[1024];
            for (int i = 0; i < 256; ++i) {
                std::memset(grey + 4 * i, i, 3);
                grey[4 * i + 3] = 255;
            }
            const dib_shape shape{width, height, depth, cinfo.X_density, cinfo.Y_density};
            if (make_packed_dib(shape, grey, &dib) != IS_OK)
                return false;
            swap_row.resize(packed_row_bytes(width, depth));
            return true;
        }
        stride = packed_row_bytes(width, depth);
        if (flags & JPEG_FLAG_PAD_ROWS)
            stride = (stride + 3) / 4 * 4;
        plain = alloc_pixels(stride, height);
        return plain != nullptr;
    }

    // The row to convert into; finish_row moves it into the bitmap.
    uint8_t* row(uint32_t y) { return packed ? swap_row.data() : plain.get() + y * stride; }
    void finish_row(uint32_t y, uint32_t width, int32_t depth)
    {
        if (packed && colour)
            store_dib_row(swap_row.data(), width, depth, dib.row(y));
        else if (packed)
            std::memcpy(dib.row(y), swap_row.data(), swap_row.size());
    }
    uint8_t* release() { return packed ? dib.buffer.release() : plain.release(); }
};

uint8_t* decode(read_context& context, jpeg_decompressor& decompressor, uint32_t* width, uint32_t* height,
                int32_t depth, uint32_t flags, int32_t* stage)
{
    jpeg_decompress_struct* cinfo = decompressor.get();
    *stage = IS_ERR_JPEG;
    decompressor.save_markers();
    jpeg_read_header(cinfo, TRUE);

    const is_jpeg_options& options = context.state->jpeg;
    cinfo->scale_num = options.scale_num > 0 ? (unsigned)options.scale_num : 1;
    cinfo->scale_denom = options.scale_denom > 0 ? (unsigned)options.scale_denom : 1;
    if (flags & JPEG_FLAG_KEEP_YCBCR)
        cinfo->out_color_space = JCS_YCbCr;
    jpeg_calc_output_dimensions(cinfo);
    file_markers(*cinfo, &context.state->jpeg);

    uint64_t decoded = 0;
    if (!is_buffer_size(cinfo->output_width, cinfo->output_height, (uint64_t)cinfo->out_color_components, &decoded))
        return context.fail(IS_ERR_NO_MEMORY);
    jpeg_start_decompress(cinfo);

    const jpeg_class kind = classify(*cinfo, flags);
    const int32_t delivered = delivered_depth(kind, depth, flags);
    jpeg_output output;
    if (!output.allocate(*cinfo, kind, delivered, flags))
        return context.fail(IS_ERR_NO_MEMORY);
    std::vector<uint8_t> scanline((size_t)cinfo->output_width * (size_t)cinfo->output_components);

    *stage = IS_ERR_READ;
    const uint32_t w = cinfo->output_width, h = cinfo->output_height;
    for (uint32_t y = 0; y < h; ++y) {
        if (context.cancelled(y, h))
            return nullptr;
        JSAMPROW row = scanline.data();
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            throw ISException(IS_ERR_READ, "no scanline");
        convert_row(kind, scanline.data(), w, delivered, output.row(y));
        output.finish_row(y, w, delivered);
    }
    jpeg_finish_decompress(cinfo);
    *width = w;
    *height = h;
    return output.release();
}

}  // namespace

uint8_t* jpeg_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint32_t flags)
{
    if (!(flags & IS_FLAG_PACKED_DIB) && depth != 8 && depth != 24 && depth != 32)
        return context.fail(IS_ERR_BAD_ARGUMENT);
    is_jpeg_options& options = context.state->jpeg;
    options.comments.clear();
    options.markers.clear();
    int32_t stage = IS_ERR_JPEG;
    try {
        jpeg_decompressor decompressor(context.io, (flags & JPEG_FLAG_KEEP_POSITION) != 0);
        return decode(context, decompressor, width, height, depth, flags, &stage);
    } catch (const ISException& e) {
        is_trace(3, "DIRad JPG Error : %s\n", e.what());
        // Depth refusals keep their own code; libjpeg's failures take the stage's.
        return context.fail(e.code() == IS_ERR_WRONG_DEPTH ? e.code() : stage);
    }
}

uint8_t* jpeg_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    if (depth == 8 && palette) {
        for (int i = 0; i < 256; ++i) {
            std::memset(palette + 4 * i, i, 3);
            palette[4 * i + 3] = 0;
        }
    }
    return jpeg_read(context, width, height, depth, 0);
}

bool jpeg_query_header(read_context& context, jpeg_header_query* query)
{
    try {
        jpeg_decompressor decompressor(context.io, false);
        jpeg_decompress_struct* cinfo = decompressor.get();
        jpeg_read_header(cinfo, TRUE);
        query->width = cinfo->image_width;
        query->height = cinfo->image_height;
        query->bits_per_pixel = cinfo->num_components * 8;
        query->x_density = cinfo->X_density;
        query->y_density = cinfo->Y_density;
        query->density_unit = cinfo->density_unit;
        query->color_space = cinfo->jpeg_color_space;
        query->marker_flags = (cinfo->saw_JFIF_marker ? JPEG_SAW_JFIF : 0u) |
                              (cinfo->saw_Adobe_marker ? JPEG_SAW_ADOBE : 0u);
        return true;
    } catch (const ISException& e) {
        is_trace(3, "DIRad JPG Error : %s\n", e.what());
        context.error = IS_ERR_JPEG;
        return false;
    }
}

int32_t jpeg_suggest_depth(read_context& context)
{
    jpeg_header_query query;
    if (!jpeg_query_header(context, &query))
        return 0;
    return query.bits_per_pixel <= 8 ? 8 : 24;
}

uint8_t* is_read_jpeg(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return jpeg_read(context, width, height, depth, flags);
    });
}
