// Rendering every face of the main window: ten buttons 26 pixels high, four
// faces each, as the buttons do at start-up.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "face/render_face.h"
#include "raster/raster_image.h"

namespace {

void main_window_faces(benchmark::State& state)
{
    kit_init();
    const int32_t widths[] = {159, 126, 26, 159, 76, 76, 159, 26, 26, 26};
    const int32_t saturations[] = {69, 100, 69, 69};
    raster_image* masks[10];
    for (int i = 0; i < 10; ++i) {
        masks[i] = image_create(PIXEL_GRAY8, widths[i], 26);
        image_fill(masks[i], 0xFFFFFFFF);
        for (const int32_t x : {0, widths[i] - 1})
            for (const int32_t y : {0, 25})
                image_clear_pixel(masks[i], x, y);
    }
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            face_style style;
            style.mask = masks[i];
            style.hue = i == 6 ? 344 : 211;
            for (const int32_t saturation : saturations) {
                style.saturation = saturation;
                int32_t x = 0, y = 0;
                raster_image* face = render_face(&style, &x, &y);
                benchmark::DoNotOptimize(face);
                image_free(face);
            }
        }
    }
    for (raster_image* mask : masks)
        image_free(mask);
}

}  // namespace

BENCHMARK(main_window_faces)->Unit(benchmark::kMillisecond);
