// image_resize: argument checks and the choice of method and code path.
#include "raster/resize.h"

#include "raster/resize_internal.h"
#include "raster/resize_paths.h"
#include "raster/resize_simd.h"

resize_shape resize_check(const raster_image* source, const raster_image* destination)
{
    if (!source || !destination || source->width < 0 || source->height < 0 || destination->width < 0 ||
        destination->height < 0)
        return resize_shape::refused;
    const int bytes = pixel_color_bytes(source->type);
    if ((bytes != 1 && bytes != 3) || pixel_color_bytes(destination->type) != bytes)
        return resize_shape::refused;
    if (destination->width == 0 || destination->height == 0)
        return resize_shape::empty;
    if (source->width == 0 || source->height == 0)
        return resize_shape::refused;
    return resize_shape::ready;
}

bool resize_path_supported(resize_path path)
{
    return path == resize_path::plain || resize_simd_kernels_for(path) != nullptr;
}

resize_path resize_best_path()
{
    static const resize_path best = resize_path_supported(resize_path::avx2)    ? resize_path::avx2
                                    : resize_path_supported(resize_path::sse41) ? resize_path::sse41
                                                                                : resize_path::plain;
    return best;
}

const char* resize_path_name(resize_path path)
{
    switch (path) {
    case resize_path::plain:
        return "plain";
    case resize_path::sse41:
        return "sse4.1";
    case resize_path::avx2:
        return "avx2";
    }
    return "unknown";
}

bool resize_filtered_tables(resize_progress_fn progress, const raster_image* source, raster_image* destination,
                            resize_table& htable, resize_table& vtable, resize_path path)
{
    const resize_simd_kernels* simd = nullptr;
    if (path != resize_path::plain) {
        simd = resize_simd_kernels_for(path);
        if (!simd)
            return false;
    }
    const int bytes = pixel_color_bytes(destination->type);
    scoped_image intermediate(image_create(bytes, destination->width, source->height));
    if (!intermediate.image)
        return false;
    resize_row_fn row_fn = resize_row_gray;
    resize_prepare_fn prepare = nullptr;
    if (bytes == 3) {
        row_fn = simd ? simd->row_bgr : resize_row_bgr;
        prepare = simd ? simd->prepare_bgr : nullptr;
    }
    if (!resize_horizontal_pass(progress, source, intermediate.image, htable, row_fn, prepare))
        return false;
    htable.release();
    if (simd)
        return resize_vertical_strips(progress, intermediate.image, destination, vtable, simd->rows);
    return resize_vertical_columns(progress, intermediate.image, destination, vtable);
}

bool resize_filtered(resize_progress_fn progress, const raster_image* source, raster_image* destination,
                     resize_path path)
{
    const resize_shape shape = resize_check(source, destination);
    if (shape != resize_shape::ready)
        return shape == resize_shape::empty;
    if (path != resize_path::plain && !resize_simd_kernels_for(path))
        return false;
    const int bytes = pixel_color_bytes(destination->type);
    resize_table htable;
    resize_table vtable;
    if (!resize_table_build(&htable, source->width, destination->width, lanczos3, 3.0, bytes) ||
        !resize_table_build(&vtable, source->height, destination->height, lanczos3, 3.0, bytes))
        return false;
    return resize_filtered_tables(progress, source, destination, htable, vtable, path);
}

bool resize_filtered_part(resize_progress_fn progress, const raster_image* source, int32_t full_width,
                          int32_t full_height, int32_t x, int32_t y, raster_image* destination, resize_path path)
{
    const resize_shape shape = resize_check(source, destination);
    if (shape != resize_shape::ready)
        return shape == resize_shape::empty;
    if (path != resize_path::plain && !resize_simd_kernels_for(path))
        return false;
    const int bytes = pixel_color_bytes(destination->type);
    resize_table htable;
    resize_table vtable;
    int32_t left = 0;
    int32_t top = 0;
    if (!resize_table_build_part(&htable, source->width, full_width, x, destination->width, lanczos3, 3.0, bytes,
                                 &left) ||
        !resize_table_build_part(&vtable, source->height, full_height, y, destination->height, lanczos3, 3.0, bytes,
                                 &top))
        return false;
    // Only the source pixels the part's entries read take part.
    raster_image window;
    image_view(&window, top, left, source, htable.source_length, vtable.source_length);
    return resize_filtered_tables(progress, &window, destination, htable, vtable, path);
}

bool image_resize_part(resize_progress_fn progress, const raster_image* source, int32_t full_width,
                       int32_t full_height, int32_t x, int32_t y, raster_image* destination)
{
    return resize_filtered_part(progress, source, full_width, full_height, x, y, destination, resize_best_path());
}

bool image_resize(resize_progress_fn progress, const raster_image* source, raster_image* destination, int method)
{
    switch (method) {
    case RESIZE_NEAREST:
        return resize_nearest(progress, source, destination);
    case RESIZE_LANCZOS3:
        return resize_filtered(progress, source, destination, resize_best_path());
    default:
        return false;
    }
}
