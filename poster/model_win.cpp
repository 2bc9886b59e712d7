// The poster model on the Windows side: start-up values from the settings and
// the default printer, installing pictures, Uncrop, and the layout with its
// preview picture and paper name.
#include "poster/model_win.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "app/settings.h"
#include "app/shell.h"
#include "poster/defaults.h"
#include "poster/layout.h"
#include "poster/printer_win.h"
#include "poster/size_panel_win.h"
#include "raster/resize.h"

poster_model g_model;

namespace {

void fetch_default_printer()
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT;
    if (!PrintDlgA(&dialog)) {
        g_model.printer_devmode = nullptr;
        g_model.printer_devnames = nullptr;
        return;
    }
    g_model.printer_devmode = dialog.hDevMode;
    g_model.printer_devnames = dialog.hDevNames;
}

void measure_default_page()
{
    if (g_model.printer_devmode && g_model.printer_devnames) {
        smm_size tile{};
        smm_rect unprintable{};
        if (measure_printer(g_model.printer_devnames, g_model.printer_devmode, g_model.g_paper_margin, &tile,
                            &unprintable)) {
            g_model.g_page = tile;
            raise_margins_to_unprintable(g_model.g_paper_margin, unprintable);
            return;
        }
    }
    g_model.g_page = a4_fallback_page(g_model.g_paper_margin);
}

// The preview picture: the crop scaled to the picture rectangle by nearest
// neighbour, or null when the rectangle is empty or memory is short.
raster_image* make_preview_image(const int_rect& picture_rect)
{
    const int32_t width = picture_rect.right - picture_rect.left;
    const int32_t height = picture_rect.bottom - picture_rect.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    raster_image* image = image_create(PIXEL_BGR24, width, height);
    if (!image)
        return nullptr;
    const int_rect& crop = g_model.g_image_crop;
    raster_image view;
    image_view(&view, crop.top, crop.left, g_model.g_image, crop.right - crop.left, crop.bottom - crop.top);
    if (!image_resize(nullptr, &view, image, RESIZE_NEAREST)) {
        image_free(image);
        return nullptr;
    }
    return image;
}

void update_paper_name()
{
    std::string name;
    if (!lookup_paper_name(g_model.printer_devnames, g_model.printer_devmode, &name))
        return;
    const size_t length = std::min(name.size(), sizeof g_model.paper_name - 1);
    name.copy(g_model.paper_name, length);
    g_model.paper_name[length] = '\0';
}

HWND preview_window()
{
    return g_shell.main_window ? GetDlgItem(g_shell.main_window, ID_PREVIEW) : nullptr;
}

}  // namespace

int_size crop_size()
{
    const int_rect& crop = g_model.g_image_crop;
    return {crop.right - crop.left, crop.bottom - crop.top};
}

void init_poster_defaults(HWND main_window)
{
    const stored_settings settings = load_settings();
    g_model.g_metric = settings.metric;
    g_model.crop_mode = 0;
    panel_ready = true;
    g_model.g_poster = default_poster(g_model.g_metric);
    // The panel is made only now, so that it shows the unit just read.
    create_size_panel(main_window, ID_POSTER_SIZE, 13, 230, 159, 78);
    g_model.g_paper_margin = {settings.margin_left, settings.margin_top, settings.margin_right,
                              settings.margin_bottom};
    fetch_default_printer();
    measure_default_page();
}

void install_picture(raster_image* image)
{
    if (!image)
        return;
    if (image->type != PIXEL_BGR24) {
        raster_image* converted = image_create(PIXEL_BGR24, image->width, image->height);
        if (!converted || !image_convert(converted, image)) {
            image_free(converted);
            image_free(image);
            return;
        }
        image_free(image);
        image = converted;
    }
    reset_crop();
    image_free(g_model.g_image);
    g_model.g_image = image;
    g_model.g_image_crop = {0, 0, image->width, image->height};
    // The side of the picture's longer edge keeps its length.
    set_poster_from_edit(image->height < image->width ? POSTER_WIDTH : POSTER_HEIGHT);
    recompute_layout();
}

void reset_crop()
{
    if (g_model.saved_poster.width > 0) {
        g_model.g_poster = g_model.saved_poster;
        g_model.saved_poster.width = 0;
    }
    if (g_model.g_image) {
        g_model.g_image_crop = {0, 0, g_model.g_image->width, g_model.g_image->height};
        recompute_layout();
        show_poster_size(POSTER_BOTH);
    }
    g_model.crop_mode = 0;
}

void recompute_layout()
{
    HWND preview = preview_window();
    if (g_model.g_image) {
        RECT client{};
        if (preview)
            GetClientRect(preview, &client);
        poster_layout layout{};
        const layout_refusal refusal =
            recompute_layout_geometry({client.right, client.bottom}, g_model.g_poster, g_model.g_page, crop_size(),
                                      g_model.pages, &layout);
        if (refusal != layout_refusal::none)
            return;
        image_free(g_model.preview_image);
        g_model.preview_image = nullptr;
        g_model.npages = layout.npages;
        g_model.preview = layout.preview;
        g_model.preview_image = make_preview_image(layout.preview.picture_rect);
    } else {
        image_free(g_model.preview_image);
        g_model.preview_image = nullptr;
    }
    if (g_model.printer_devmode)
        update_paper_name();
    if (preview) {
        InvalidateRect(preview, nullptr, TRUE);
        UpdateWindow(preview);
    }
}

void free_poster_model()
{
    image_free(g_model.g_image);
    g_model.g_image = nullptr;
    image_free(g_model.preview_image);
    g_model.preview_image = nullptr;
    if (g_model.printer_devmode)
        GlobalFree(g_model.printer_devmode);
    if (g_model.printer_devnames)
        GlobalFree(g_model.printer_devnames);
    g_model.printer_devmode = nullptr;
    g_model.printer_devnames = nullptr;
}
