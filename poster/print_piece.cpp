// One page's part of the picture, resampled to device pixels and sent row by
// row, or resampled straight into an image the caller holds.
#include "poster/print_piece.h"

#include <chrono>

#include "raster/owned_image.h"

namespace {

uint32_t elapsed_ms(std::chrono::steady_clock::time_point since)
{
    const auto elapsed = std::chrono::steady_clock::now() - since;
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

// Where a resampled part goes: into destination when there is one (an image
// of the device rectangle's size), otherwise into an image made here whose
// rows go to the sink.
struct part_output {
    raster_image* destination;
    const piece_row_sink* sink;
};

bool send_rows(const raster_image* big_img, const int_rect& device_rect, const piece_row_sink& sink)
{
    for (int32_t y = 0; y < big_img->height; ++y) {
        if (sink.before_row && !sink.before_row(sink.user, static_cast<double>(y) / big_img->height))
            return false;
        const uint8_t* row = big_img->pixels + static_cast<size_t>(y) * big_img->stride;
        if (!sink.send_row(sink.user, device_rect.left, device_rect.top + y, row, big_img->width))
            return false;
    }
    return true;
}

// Resamples into the part's image with resample and hands it on; the records
// and ways out of print_piece.
template <typename Resample>
bool send_resampled(const int_rect& device_rect, bool ready, Resample resample, part_output output,
                    const job_log* log)
{
    job_log_memory_report(log);
    const int32_t width = device_rect.right - device_rect.left;
    const int32_t height = device_rect.bottom - device_rect.top;
    // A part narrower than one device pixel: nothing reaches the paper, and a
    // row of no pixels is not something to send a printer.
    if (width <= 0 || height <= 0)
        return true;
    if (!ready)
        return false;
    if (output.destination ? output.destination->width != width || output.destination->height != height ||
                                 pixel_color_bytes(output.destination->type) != 3
                           : !output.sink->send_row)
        return false;

    owned_image made;
    raster_image* big_img = output.destination;
    if (!big_img) {
        made.reset(image_create(PIXEL_BGR24, width, height));
        if (!made) {
            job_log_printf(log, "image_create fail: %i x %i\n\n", width, height);
            return false;
        }
        big_img = made.get();
    }
    job_log_printf(log, "big_img created: %i x %i\n\n", width, height);
    const auto start = std::chrono::steady_clock::now();
    if (!resample(big_img))
        return false;
    job_log_printf(log, "image_resize time (s): %i\n", static_cast<int>(elapsed_ms(start) / 1000));
    return output.destination || send_rows(big_img, device_rect, *output.sink);
}

bool resample_piece(const raster_image* view, const int_rect& device_rect, resize_progress_fn progress,
                    part_output output, const job_log* log)
{
    return send_resampled(
        device_rect, view && pixel_color_bytes(view->type) == 3,
        [&](raster_image* big_img) { return image_resize(progress, view, big_img, RESIZE_LANCZOS3); }, output, log);
}

bool resample_part(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                   resize_progress_fn progress, part_output output, const job_log* log)
{
    if (rects.poster_du.width <= 0 || rects.poster_du.height <= 0) {
        raster_image view;
        return piece_view(picture, rects.picture_rect, &view) &&
               resample_piece(&view, rects.device_rect, progress, output, log);
    }
    raster_image crop_view;
    const bool ready = piece_view(picture, crop, &crop_view) && pixel_color_bytes(picture->type) == 3;
    return send_resampled(
        rects.device_rect, ready,
        [&](raster_image* big_img) {
            return image_resize_part(progress, &crop_view, rects.poster_du.width, rects.poster_du.height,
                                     rects.part_at.x, rects.part_at.y, big_img);
        },
        output, log);
}

}  // namespace

bool print_piece(const raster_image* view, const int_rect& device_rect, resize_progress_fn progress,
                 const piece_row_sink& sink, const job_log* log)
{
    return resample_piece(view, device_rect, progress, {nullptr, &sink}, log);
}

bool print_page_part(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                     resize_progress_fn progress, const piece_row_sink& sink, const job_log* log)
{
    return resample_part(picture, crop, rects, progress, {nullptr, &sink}, log);
}

bool resample_page_part(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                        resize_progress_fn progress, raster_image* destination, const job_log* log)
{
    return destination && resample_part(picture, crop, rects, progress, {destination, nullptr}, log);
}
