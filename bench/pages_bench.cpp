// One full page of tilora-cli pages on A4 at 300 and 600 dpi: the sheet
// rendered (the page's part resampled by the print filter into its device
// rectangle on white paper, with corner marks) and, in the other benchmarks,
// written as PNG or as a page of a PDF document as the command does. The
// picture is made in memory, so decoding is not part of the figures.
// Counters: the page's peak of raster memory, from the kit's allocation
// table, and that peak with the picture included. bench/scale.sh measures the
// whole command and its memory on large pictures.
#include <benchmark/benchmark.h>

#include "poster/geometry.h"
#include "poster/poster_size.h"
#include "poster/print_job.h"
#include "raster/kit_test_hooks.h"
#include "raster/raster_image.h"
#include "tools/cli/page_render.h"
#include "tools/cli/pdf_sheets.h"
#include "tools/cli/png_output.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <unistd.h>

namespace {

// Live bytes of the kit's allocation table, and their high-water mark since
// the last reset, kept by a hook in front of the kit's allocator.
kit_alloc_hook g_kit_alloc = nullptr;
uint64_t g_peak_bytes = 0;

uint64_t live_bytes()
{
    uint64_t total = 0;
    for (int i = 0; i < kit_alloc_table_size; ++i)
        if (kit_alloc_table()[i].address)
            total += kit_alloc_table()[i].size;
    return total;
}

void* peak_tracking_alloc(uint64_t size)
{
    void* block = g_kit_alloc(size);
    const uint64_t live = live_bytes();
    if (live > g_peak_bytes)
        g_peak_bytes = live;
    return block;
}

// A 3000 x 4000 picture with smooth colours and some noise.
raster_image* make_picture()
{
    raster_image* image = image_create(PIXEL_BGR24, 3000, 4000);
    uint32_t noise = 7;
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* row = image->pixels + (ptrdiff_t)y * image->stride;
        for (int32_t x = 0; x < image->width * 3; ++x) {
            noise = noise * 1664525u + 1013904223u;
            row[x] = (uint8_t)((x / 3 * 255 / image->width + y * 255 / image->height) / 2 + (noise >> 28));
        }
    }
    return image;
}

// An A4 sheet without unprintable strips and the default margins: a 55 cm
// wide poster of the picture is a 3 x 3 grid, and the middle page is covered
// completely (4370 x 6426 device pixels at 600 dpi).
struct full_page {
    sheet_layout sheet;
    page_rects rects;
};

bool plan_full_page(const raster_image* picture, int32_t dpi, full_page* out)
{
    const int32_t width = 21000 * dpi / 2540, height = 29700 * dpi / 2540;
    const device_caps caps = {dpi, dpi, width, height, width, height, 0, 0};
    const smm_rect margins = {500, 500, 2000, 2000};
    const auto area = measure_print_area(caps, false, &margins);
    smm_size poster;
    if (!area || !poster_from_side(poster_side::width, 55000, {picture->width, picture->height}, &poster))
        return false;
    out->sheet = sheet_of(caps);
    return page_rects_for(poster, *area, {0, 0, picture->width, picture->height}, 1, 1, &out->rects);
}

enum class sheet_output { none, png, pdf };

template <int32_t dpi, sheet_output output>
void sheet_benchmark(benchmark::State& state)
{
    kit_init();
    raster_image* picture = make_picture();
    full_page page;
    if (!picture || !plan_full_page(picture, dpi, &page)) {
        state.SkipWithError("no picture or no layout");
        image_free(picture);
        return;
    }
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/tilora-bench-page-" + std::to_string(::getpid()) +
                             (output == sheet_output::pdf ? ".pdf" : ".png");
    const uint64_t picture_bytes = live_bytes();
    g_kit_alloc = kit_replace_alloc_hook(peak_tracking_alloc);
    g_peak_bytes = picture_bytes;
    bool ok = true;
    {
        // One document for all iterations: each adds a page, as each sheet
        // of a job does.
        std::optional<pdf_sheets> pdf;
        if (output == sheet_output::pdf)
            ok = pdf.emplace(path, page.sheet, 0).ok();
        for (auto _ : state) {
            const char* failure = nullptr;
            raster_image* sheet = render_page(picture, {0, 0, picture->width, picture->height}, page.rects, page.sheet, true,
                                              nullptr, &failure);
            ok = ok && sheet;
            std::string reason;
            if (sheet && output == sheet_output::png)
                ok = write_image_png(path.c_str(), sheet, &reason, png_effort::fast) && ok;
            if (sheet && pdf)
                ok = pdf->take_sheet("page-1-1", sheet, page.sheet) && ok;
            image_free(sheet);
        }
        if (pdf)
            ok = pdf->finish() && ok;
    }
    kit_replace_alloc_hook(g_kit_alloc);
    std::remove(path.c_str());
    image_free(picture);
    if (!ok)
        state.SkipWithError("the page was not rendered or written");
    const int_rect& d = page.rects.device_rect;
    state.SetLabel(std::to_string(d.right - d.left) + "x" + std::to_string(d.bottom - d.top) + " part on " +
                   std::to_string(page.sheet.size.width) + "x" + std::to_string(page.sheet.size.height) + " sheet");
    state.counters["page_peak_MB"] = (double)(g_peak_bytes - picture_bytes) / 1048576.0;
    state.counters["peak_with_picture_MB"] = (double)g_peak_bytes / 1048576.0;
}

}  // namespace

BENCHMARK(sheet_benchmark<300, sheet_output::none>)->Name("pages_a4_300dpi_render")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sheet_benchmark<300, sheet_output::png>)->Name("pages_a4_300dpi_render_and_png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sheet_benchmark<300, sheet_output::pdf>)->Name("pages_a4_300dpi_render_and_pdf")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sheet_benchmark<600, sheet_output::none>)->Name("pages_a4_600dpi_render")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sheet_benchmark<600, sheet_output::png>)->Name("pages_a4_600dpi_render_and_png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sheet_benchmark<600, sheet_output::pdf>)->Name("pages_a4_600dpi_render_and_pdf")->Unit(benchmark::kMillisecond)->UseRealTime();
