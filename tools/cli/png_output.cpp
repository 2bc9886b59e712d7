#include "tools/cli/png_output.h"

#include "loader/picture_copy.h"
#include "tools/cli/png_bands.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// What the PNG writer asks for: the size, the channels (3 RGB or 4 RGBA) and
// a function that fills one output row.
struct png_rows {
    uint32_t width;
    uint32_t height;
    int channels;
    void (*fill)(const void* context, uint32_t y, uint8_t* row);
    const void* context;
    png_effort effort = png_effort::normal;
};

struct png_failure {
    char message[200];
};

[[noreturn]] void on_png_error(png_structp png, png_const_charp message)
{
    auto* failure = static_cast<png_failure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// Holds nothing that needs destroying, so that libpng's long jump out of it
// on an error is safe. With a stream made beforehand (the fast way) its
// bytes are the image data; otherwise libpng filters and compresses the rows.
bool write_rows(png_structp png, png_infop info, FILE* file, const png_rows& rows, uint8_t* row,
                const png_data_stream* stream)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_IHDR(png, info, rows.width, rows.height, 8, rows.channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (stream) {
        for (const std::span<const uint8_t>& piece : stream->pieces())
            if (!piece.empty())
                png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), piece.data(), piece.size());
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
        return true;
    }
    for (uint32_t y = 0; y < rows.height; ++y) {
        rows.fill(rows.context, y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

bool write_png(const char* path, const png_rows& rows, std::string* error)
{
    std::vector<uint8_t> row((size_t)rows.width * rows.channels);
    png_data_stream stream;
    if (rows.effort == png_effort::fast &&
        !compress_png_rows({rows.height, row.size(), rows.fill, rows.context}, &stream)) {
        *error = "out of memory";
        return false;
    }
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        *error = std::string("cannot create the file: ") + std::strerror(errno);
        return false;
    }
    png_failure failure = {"out of memory"};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, on_png_error, on_png_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = png && info && write_rows(png, info, file, rows, row.data(),
                                                  rows.effort == png_effort::fast ? &stream : nullptr);
    png_destroy_write_struct(&png, &info);
    if (!written)
        *error = failure.message;
    if (std::fclose(file) != 0 && written) {
        *error = std::string("cannot write the file: ") + std::strerror(errno);
        written = false;
    }
    if (!written)
        std::remove(path);
    return written;
}

void fill_from_bgr(const void* context, uint32_t y, uint8_t* out)
{
    const auto* image = static_cast<const raster_image*>(context);
    const uint8_t* in = image->pixels + (size_t)y * image->stride;
    for (int32_t x = 0; x < image->width; ++x, in += 3, out += 3) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}

void fill_from_premultiplied(const void* context, uint32_t y, uint8_t* out)
{
    const auto* image = static_cast<const raster_image*>(context);
    const uint8_t* in = image->pixels + (size_t)y * image->stride;
    const uint8_t* alpha = image->alpha + (size_t)y * image->alpha_stride;
    for (int32_t x = 0; x < image->width; ++x, in += 3, out += 4) {
        const uint8_t a = alpha[x];
        out[0] = unpremultiplied(in[2], a);
        out[1] = unpremultiplied(in[1], a);
        out[2] = unpremultiplied(in[0], a);
        out[3] = a;
    }
}

struct packed_buffer {
    const uint8_t* pixels;
    uint32_t width;
    int in_step;
    int out_step;
};

void fill_from_packed(const void* context, uint32_t y, uint8_t* out)
{
    const auto* buffer = static_cast<const packed_buffer*>(context);
    const uint8_t* in = buffer->pixels + (size_t)y * buffer->width * buffer->in_step;
    if (buffer->in_step == buffer->out_step) {
        std::memcpy(out, in, (size_t)buffer->width * buffer->out_step);
        return;
    }
    for (uint32_t x = 0; x < buffer->width; ++x, in += buffer->in_step, out += buffer->out_step)
        std::memcpy(out, in, 3);
}

}  // namespace

uint8_t unpremultiplied(uint8_t value, uint8_t alpha)
{
    if (alpha == 0)
        return 0;
    return (uint8_t)std::min<uint32_t>(((uint32_t)value * 255 + alpha / 2) / alpha, 255);
}

bool write_image_png(const char* path, const raster_image* image, std::string* error, png_effort effort)
{
    const bool with_alpha = image->alpha != nullptr;
    const png_rows rows = {(uint32_t)image->width, (uint32_t)image->height, with_alpha ? 4 : 3,
                           with_alpha ? fill_from_premultiplied : fill_from_bgr, image, effort};
    return write_png(path, rows, error);
}

bool write_buffer_png(const char* path, const uint8_t* buffer, uint32_t width, uint32_t height,
                      int bytes_per_pixel, std::string* error)
{
    const bool with_alpha = bytes_per_pixel == 4 && buffer_has_transparency(buffer, width, height);
    const packed_buffer packed = {buffer, width, bytes_per_pixel, with_alpha ? 4 : 3};
    const png_rows rows = {width, height, packed.out_step, fill_from_packed, &packed};
    return write_png(path, rows, error);
}
