// Printing one page's part of the picture: the part is resampled with the
// print filter to exactly the device rectangle's size and handed on one row
// at a time. The Windows job's sink sends each row to the printer; the
// command line's copies it into the picture of the sheet.
#pragma once
#include "poster/geometry.h"
#include "poster/job_log.h"
#include "poster/print_job.h"
#include "raster/raster_image.h"
#include "raster/resize.h"

struct piece_row_sink {
    // Before each row, with the fraction of the rows done (row / height):
    // shows progress and says whether to go on; false stops the piece. May be
    // null.
    bool (*before_row)(void* user, double fraction) = nullptr;
    // One row of width pixels, blue, green, red, for the device position
    // (x, y); false stops the piece.
    bool (*send_row)(void* user, int32_t x, int32_t y, const uint8_t* pixels, int32_t width) = nullptr;
    void* user = nullptr;
};

// Resamples view (a piece of a 24-bit picture) with the Lanczos filter into an
// image of device_rect's size and sends its rows, top to bottom, to
// (device_rect.left, device_rect.top + row). progress is the resampler's
// callback (false from it stops the work). True when every row was sent; a
// device rectangle without pixels has nothing to send and succeeds at once.
// False when the image cannot be created (logged, no smaller one is tried),
// when resampling fails or is stopped, or when the sink stops; the image is
// freed on every way out.
bool print_piece(const raster_image* view, const int_rect& device_rect, resize_progress_fn progress,
                 const piece_row_sink& sink, const job_log* log);

// The picture part of a printed page, taken from picture (24-bit) with its
// crop: for seamless rects (a poster_du) the part's rectangle of one resample
// of the whole crop to poster_du, computed from the crop pixels it reads;
// otherwise print_piece of the view over picture_rect. Either way the image
// has device_rect's size, is logged and sent as print_piece does.
bool print_page_part(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                     resize_progress_fn progress, const piece_row_sink& sink, const job_log* log);

// print_page_part without a sink: the part is resampled straight into
// destination, a 24-bit image (or a view of one, such as the part's place on
// a sheet) of device_rect's size, with the same log records. False also when
// destination has another size.
bool resample_page_part(const raster_image* picture, const int_rect& crop, const page_rects& rects,
                        resize_progress_fn progress, raster_image* destination, const job_log* log);
