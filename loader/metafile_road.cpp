// Metafile rendering for the loader: a first render learns the picture's
// natural size, a second one renders it with its longer side at 1000 pixels
// on white.
#include "loader/picture_roads.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<metafile_renderer_fn> g_renderer{nullptr};

constexpr int32_t render_side = 1000;
constexpr uint32_t white = 0xFFFFFF;

}  // namespace

void set_metafile_renderer(metafile_renderer_fn renderer)
{
    g_renderer = renderer;
}

void metafile_render_size(uint32_t natural_width, uint32_t natural_height, int32_t* width, int32_t* height)
{
    const double scale = std::min((double)render_side / natural_width, (double)render_side / natural_height);
    // A very thin picture keeps one pixel across rather than vanishing.
    *width = std::max((int32_t)(natural_width * scale), 1);
    *height = std::max((int32_t)(natural_height * scale), 1);
}

road_result render_metafile_road(const char* path)
{
    road_result result;
    const metafile_renderer_fn render = g_renderer;
    if (!render) {
        result.error = IS_ERR_NO_READER;
        result.reason = "metafiles are read only by the Windows program";
        return result;
    }
    uint32_t natural_width = 0, natural_height = 0;
    uint8_t* probe = render(path, &natural_width, &natural_height, render_side, render_side, white, 0);
    if (!probe)
        return delivered(nullptr, 0, 0, 3);
    is_global_free(probe);
    if (natural_width == 0 || natural_height == 0) {
        result.error = IS_ERR_METAFILE;
        result.reason = "the metafile has no size";
        return result;
    }
    int32_t width = 0, height = 0;
    metafile_render_size(natural_width, natural_height, &width, &height);
    uint32_t out_width = 0, out_height = 0;
    uint8_t* buffer = render(path, &out_width, &out_height, width, height, white, 1);
    return delivered(buffer, out_width, out_height, 3);
}
