#include "tools/cli/pdf_sheets.h"

#include "tools/cli/jpeg_encode.h"
#include "tools/cli/picture_input.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

struct pdf_document {
    std::string path;
    cairo_surface_t* surface = nullptr;
    int jpeg_quality = 0;
    bool failed = false;

    ~pdf_document()
    {
        if (surface)
            cairo_surface_destroy(surface);
    }
};

namespace {

// cairo's own surface holder, so that every way out releases it.
struct surface_release {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using owned_surface = std::unique_ptr<cairo_surface_t, surface_release>;
struct context_release {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using owned_context = std::unique_ptr<cairo_t, context_release>;

bool report_cairo_failure(pdf_document& document, cairo_status_t status)
{
    if (!document.failed)
        report_write_failure(document.path.c_str(), cairo_status_to_string(status));
    document.failed = true;
    return false;
}

// The drawn part of the sheet as a cairo image (32-bit, x R G B in a native
// word), carrying its JPEG form when the document stores JPEG.
owned_surface sheet_image(const raster_image* sheet, const int_rect& part, int jpeg_quality)
{
    const int32_t width = part.right - part.left, height = part.bottom - part.top;
    owned_surface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS)
        return image;
    uint8_t* data = cairo_image_surface_get_data(image.get());
    const int stride = cairo_image_surface_get_stride(image.get());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = sheet->pixels + (size_t)(part.top + y) * sheet->stride + (size_t)part.left * 3;
        auto* out = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
        for (int32_t x = 0; x < width; ++x, in += 3)
            out[x] = (uint32_t)in[2] << 16 | (uint32_t)in[1] << 8 | in[0];
    }
    cairo_surface_mark_dirty(image.get());
    if (jpeg_quality > 0) {
        raster_image view;
        image_view(&view, part.top, part.left, sheet, width, height);
        std::vector<uint8_t> jpeg = encode_jpeg(&view, jpeg_quality);
        auto* bytes = static_cast<unsigned char*>(std::malloc(jpeg.size()));
        if (bytes) {
            std::memcpy(bytes, jpeg.data(), jpeg.size());
            cairo_surface_set_mime_data(image.get(), CAIRO_MIME_TYPE_JPEG, bytes, jpeg.size(), std::free, bytes);
        }
    }
    return image;
}

}  // namespace

int_rect drawn_bounds(const raster_image* sheet)
{
    int_rect bounds = {sheet->width, sheet->height, 0, 0};
    const size_t row_bytes = (size_t)sheet->width * 3;
    for (int32_t y = 0; y < sheet->height; ++y) {
        const uint8_t* row = sheet->pixels + (size_t)y * sheet->stride;
        size_t first = 0;
        while (first < row_bytes && row[first] == 0xFF)
            ++first;
        if (first == row_bytes)
            continue;
        size_t last = row_bytes;
        while (row[last - 1] == 0xFF)
            --last;
        bounds.left = std::min(bounds.left, (int32_t)(first / 3));
        bounds.right = std::max(bounds.right, (int32_t)((last + 2) / 3));
        bounds.top = std::min(bounds.top, y);
        bounds.bottom = y + 1;
    }
    if (bounds.right <= bounds.left)
        return {0, 0, 0, 0};
    return bounds;
}

pdf_sheets::pdf_sheets(const std::string& path, const sheet_layout& layout, int jpeg_quality)
    : document_(std::make_unique<pdf_document>())
{
    document_->path = path;
    document_->jpeg_quality = jpeg_quality;
    document_->surface = cairo_pdf_surface_create(path.c_str(), layout.size.width * 72.0 / layout.dpi_x,
                                                  layout.size.height * 72.0 / layout.dpi_y);
    const cairo_status_t status = cairo_surface_status(document_->surface);
    if (status != CAIRO_STATUS_SUCCESS)
        report_cairo_failure(*document_, status);
}

pdf_sheets::~pdf_sheets() = default;

bool pdf_sheets::ok() const
{
    return !document_->failed;
}

bool pdf_sheets::take_sheet(const char*, const raster_image* sheet, const sheet_layout& layout)
{
    if (document_->failed)
        return false;
    cairo_surface_t* surface = document_->surface;
    cairo_pdf_surface_set_size(surface, layout.size.width * 72.0 / layout.dpi_x,
                               layout.size.height * 72.0 / layout.dpi_y);
    const int_rect part = drawn_bounds(sheet);
    owned_context context(cairo_create(surface));
    if (part.right > part.left) {
        owned_surface image = sheet_image(sheet, part, document_->jpeg_quality);
        if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS)
            return report_cairo_failure(*document_, cairo_surface_status(image.get()));
        // Device pixels to points; the image's pixels land on whole device
        // pixels and are never smoothed. Points in the file have six decimals,
        // so the image is moved a thousandth of a pixel on, lest an edge
        // written as 149.999999 pixels be taken for pixel 149.
        cairo_scale(context.get(), 72.0 / layout.dpi_x, 72.0 / layout.dpi_y);
        constexpr double nudge = 1.0 / 1024;
        cairo_set_source_surface(context.get(), image.get(), part.left + nudge, part.top + nudge);
        cairo_pattern_set_filter(cairo_get_source(context.get()), CAIRO_FILTER_NEAREST);
        cairo_paint(context.get());
    }
    cairo_show_page(context.get());
    const cairo_status_t status = cairo_status(context.get());
    if (status != CAIRO_STATUS_SUCCESS)
        return report_cairo_failure(*document_, status);
    return true;
}

bool pdf_sheets::finish()
{
    if (document_->failed)
        return false;
    cairo_surface_finish(document_->surface);
    const cairo_status_t status = cairo_surface_status(document_->surface);
    if (status != CAIRO_STATUS_SUCCESS)
        return report_cairo_failure(*document_, status);
    return true;
}
