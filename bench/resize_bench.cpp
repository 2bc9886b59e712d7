// Resampling throughput in output megapixels per second: the filtered method
// on each code path for a print-sized enlargement and a fourfold reduction,
// and the nearest-neighbour method for a preview.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "raster/raster_image.h"
#include "raster/resize.h"
#include "raster/resize_paths.h"

namespace {

// A smooth picture with some noise, so that no weight sees only zeros.
raster_image* make_source(int32_t width, int32_t height)
{
    raster_image* image = image_create(PIXEL_BGR24, width, height);
    uint32_t noise = 1;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image->pixels + (ptrdiff_t)y * image->stride;
        for (int32_t x = 0; x < width * 3; ++x) {
            noise = noise * 1664525u + 1013904223u;
            row[x] = (uint8_t)((x / 3 * 255 / width + y * 255 / height) / 2 + (noise >> 28));
        }
    }
    return image;
}

void count_output(benchmark::State& state, const raster_image* destination)
{
    state.counters["out_Mpix/s"] = benchmark::Counter(
        (double)destination->width * destination->height * (double)state.iterations() / 1e6,
        benchmark::Counter::kIsRate);
}

// Arguments: source width, source height, destination width, destination
// height, path; with fresh_destination the destination is created inside the
// timed loop, as the print job does for every sheet.
template <bool fresh_destination>
void filtered(benchmark::State& state)
{
    kit_init();
    const auto path = (resize_path)state.range(4);
    if (!resize_path_supported(path)) {
        state.SkipWithError("path not supported here");
        return;
    }
    state.SetLabel(resize_path_name(path));
    raster_image* source = make_source((int32_t)state.range(0), (int32_t)state.range(1));
    const int32_t width = (int32_t)state.range(2), height = (int32_t)state.range(3);
    raster_image* destination = fresh_destination ? nullptr : image_create(PIXEL_BGR24, width, height);
    bool ok = true;
    for (auto _ : state) {
        if (fresh_destination)
            destination = image_create(PIXEL_BGR24, width, height);
        ok = ok && destination && resize_filtered(nullptr, source, destination, path);
        benchmark::DoNotOptimize(destination->pixels);
        if (fresh_destination)
            image_free(destination);
    }
    if (!ok)
        state.SkipWithError("resize failed");
    image_free(destination);
    image_free(source);
    state.counters["out_Mpix/s"] =
        benchmark::Counter((double)width * height * (double)state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

void nearest_preview(benchmark::State& state)
{
    kit_init();
    raster_image* source = make_source(3705, 2565);
    raster_image* destination = image_create(PIXEL_BGR24, 560, 388);
    for (auto _ : state) {
        if (!image_resize(nullptr, source, destination, RESIZE_NEAREST))
            state.SkipWithError("resize failed");
        benchmark::DoNotOptimize(destination->pixels);
    }
    count_output(state, destination);
    image_free(destination);
    image_free(source);
}

void paths(benchmark::internal::Benchmark* bench, int64_t sw, int64_t sh, int64_t dw, int64_t dh)
{
    for (const resize_path path : {resize_path::plain, resize_path::sse41, resize_path::avx2})
        bench->Args({sw, sh, dw, dh, (int64_t)path});
    bench->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK(filtered<false>)->Name("enlarge_1075x1500_to_4370x6425")->Apply([](auto* b) {
    paths(b, 1075, 1500, 4370, 6425);
});
BENCHMARK(filtered<false>)->Name("reduce_8000x6000_to_2000x1500")->Apply([](auto* b) {
    paths(b, 8000, 6000, 2000, 1500);
});
BENCHMARK(filtered<true>)
    ->Name("enlarge_fresh_destination")
    ->Args({1075, 1500, 4370, 6425, (int64_t)resize_path::avx2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(nearest_preview)->Name("nearest_preview_3705x2565_to_560x388")->Unit(benchmark::kMicrosecond)->UseRealTime();
