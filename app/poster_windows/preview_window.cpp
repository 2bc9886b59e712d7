// The preview window. It keeps no layout of its own: every repaint draws the
// document as recompute_layout left it, and a click switches one page.
#include "app/poster_windows/preview_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "app/base/fonts.h"
#include "app/base/paint_image.h"
#include "app/base/window_class.h"
#include "app/base/window_guard.h"
#include "app/base/window_state.h"
#include "poster/preview_pages.h"

namespace {

constexpr const char* preview_class = "TLRAPREVIEW";

struct preview_state {
    poster_document* document = nullptr;
    owned_font label_font;
    POINT last_mouse = {};
    // The crop drag: from a button press on the picture to its release.
    bool dragging = false;
    POINT crop_anchor = {};
    RECT rubber_band = {};  // as last drawn, left <= right and top <= bottom
};

preview_state& preview_of(HWND preview)
{
    return *window_state<preview_state>(preview);
}

RECT to_rect(const int_rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

int_rect grid_rect(const poster_document& document)
{
    return preview_grid_rect(document.preview(), document.npages());
}

RECT status_strip(const RECT& client)
{
    return {client.left + 1, client.bottom - preview_status_height, client.right - 1, client.bottom - 1};
}

void draw_frame(HDC dc, const RECT& client)
{
    outline_rectangle(dc, client, RGB(128, 128, 128));
    const RECT inside = {client.left + 1, client.top + 1, client.right - 1, client.bottom - preview_status_height};
    FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void draw_grid_shadow(HDC dc, const RECT& grid)
{
    owned_pen pen(CreatePen(PS_SOLID, 1, RGB(222, 222, 222)));
    selection use_pen(dc, pen.get());
    Rectangle(dc, grid.right, grid.top + 2, grid.right + 2, grid.bottom + 2);
    Rectangle(dc, grid.left + 2, grid.bottom, grid.right + 2, grid.bottom + 2);
}

void draw_page_outlines(HDC dc, const poster_document& document)
{
    owned_pen outline_pen(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
    owned_pen cross_pen(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));
    selection no_fill(dc, GetStockObject(NULL_BRUSH));
    selection keep_pen(dc, outline_pen.get());
    const int_size npages = document.npages();
    for (int32_t row = 0; row < npages.height; ++row) {
        for (int32_t column = 0; column < npages.width; ++column) {
            const RECT page = to_rect(preview_page_outline(document.preview(), npages, column, row));
            SelectObject(dc, outline_pen.get());
            Rectangle(dc, page.left, page.top, page.right, page.bottom);
            if (page_flag(document.pages(), column, row) == 0) {
                SelectObject(dc, cross_pen.get());
                MoveToEx(dc, page.left, page.top, nullptr);
                LineTo(dc, page.right, page.bottom);
                MoveToEx(dc, page.right, page.top, nullptr);
                LineTo(dc, page.left, page.bottom);
            }
        }
    }
}

// Where neighbouring pages overlap by the glue band: hatched.
void draw_glue_bands(HDC dc, const poster_document& document)
{
    const std::vector<int_rect> bands = preview_glue_bands(document.preview(), document.npages());
    if (bands.empty())
        return;
    owned_brush hatch(CreateHatchBrush(HS_BDIAGONAL, RGB(96, 96, 96)));
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    for (const int_rect& band : bands) {
        const RECT r = to_rect(band);
        FillRect(dc, &r, hatch.get());
    }
    SetBkMode(dc, old_mode);
}

void draw_poster(HDC dc, const poster_document& document)
{
    const RECT grid = to_rect(grid_rect(document));
    const RECT picture = to_rect(document.preview().picture_rect);
    // White where the picture does not cover the grid.
    ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    FillRect(dc, &grid, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectClipRgn(dc, nullptr);
    draw_grid_shadow(dc, grid);
    paint_image(document.preview_image(), dc, picture.left, picture.top);
    if (preview_grid_usable(document.preview())) {
        draw_glue_bands(dc, document);
        draw_page_outlines(dc, document);
    }
}

// "1 page of A4", "7 pages of A4": the pages that will be printed and the
// paper they go on.
std::string status_text(const poster_document& document)
{
    char text[128];
    const int32_t pages = all_papers(document.pages());
    const char* paper = document.paper_name().c_str();
    if (pages == 1)
        std::snprintf(text, sizeof text, "1 page of %s", paper);
    else
        std::snprintf(text, sizeof text, "%i pages of %s", static_cast<int>(pages), paper);
    return text;
}

void draw_status(HWND preview, HDC dc, const RECT& client)
{
    const preview_state& self = preview_of(preview);
    RECT strip = status_strip(client);
    {
        owned_brush brush(CreateSolidBrush(RGB(229, 229, 229)));
        FillRect(dc, &strip, brush.get());
    }
    const std::string text = status_text(*self.document);
    // The window's text holds the same words, for tools that read windows
    // rather than pixels.
    char shown[128] = {};
    GetWindowTextA(preview, shown, sizeof shown);
    if (text != shown)
        SetWindowTextA(preview, text.c_str());
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    {
        selection font(dc, self.label_font.get());
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
        SetTextColor(dc, RGB(197, 197, 197));
        DrawTextA(dc, text.c_str(), -1, &strip, format);
        OffsetRect(&strip, -1, -1);
        SetTextColor(dc, RGB(128, 128, 128));
        DrawTextA(dc, text.c_str(), -1, &strip, format);
    }
    SetBkMode(dc, old_mode);
}

LRESULT on_create(HWND preview, const CREATESTRUCTA* create)
{
    auto state = std::make_unique<preview_state>();
    state->document = static_cast<poster_document*>(create->lpCreateParams);
    state->label_font = create_window_font("", 18, FW_NORMAL, true);
    attach_window_state(preview, std::move(state));
    return 0;
}

LRESULT on_nc_destroy(HWND preview)
{
    detach_window_state<preview_state>(preview);
    return 0;
}

LRESULT on_size(HWND preview, LPARAM size)
{
    poster_document& document = *preview_of(preview).document;
    document.set_preview_client({LOWORD(size), HIWORD(size)});
    // A minimised parent sends a size of 0: nothing to lay out.
    if (size != 0)
        document.recompute_layout();
    return 0;
}

LRESULT on_paint(HWND preview)
{
    const poster_document& document = *preview_of(preview).document;
    paint_session paint(preview);
    HDC dc = paint.dc();
    RECT client;
    GetClientRect(preview, &client);
    const bool has_poster = document.preview_image() != nullptr;
    if (has_poster) {
        const RECT grid = to_rect(grid_rect(document));
        ExcludeClipRect(dc, grid.left, grid.top, grid.right, grid.bottom);
    }
    draw_frame(dc, client);
    if (has_poster) {
        SelectClipRgn(dc, nullptr);
        draw_poster(dc, document);
    }
    draw_status(preview, dc, client);
    return 0;
}

LRESULT on_set_cursor(HWND preview, UINT message, WPARAM wparam, LPARAM lparam)
{
    const preview_state& self = preview_of(preview);
    const RECT picture = to_rect(self.document->preview().picture_rect);
    if (LOWORD(lparam) == HTCLIENT && PtInRect(&picture, self.last_mouse) && self.document->crop_mode() == 1) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
        return 0;
    }
    return DefWindowProcA(preview, message, wparam, lparam);
}

// The band as a dashed outline that inverts what lies under it, so that
// drawing it twice leaves the screen as it was.
void draw_band(HWND preview, const RECT& band)
{
    if (band.left >= band.right || band.top >= band.bottom)
        return;
    window_dc dc(preview);
    if (!dc)
        return;
    owned_pen pen(CreatePen(PS_DASH, 1, RGB(255, 255, 255)));
    selection use_pen(dc.get(), pen.get());
    const int old_rop = SetROP2(dc.get(), R2_NOT);
    const int old_mode = SetBkMode(dc.get(), TRANSPARENT);
    const POINT lines[4][2] = {
        {{band.left, band.top}, {band.right, band.top}},
        {{band.right - 1, band.top}, {band.right - 1, band.bottom}},
        {{band.left, band.bottom - 1}, {band.right, band.bottom - 1}},
        {{band.left, band.top}, {band.left, band.bottom}},
    };
    for (const auto& line : lines) {
        MoveToEx(dc.get(), line[0].x, line[0].y, nullptr);
        LineTo(dc.get(), line[1].x, line[1].y);
    }
    SetBkMode(dc.get(), old_mode);
    SetROP2(dc.get(), old_rop);
}

void follow_crop_drag(HWND preview, POINT point)
{
    preview_state& self = preview_of(preview);
    const int_rect& picture = self.document->preview().picture_rect;
    const LONG x = std::clamp<LONG>(point.x, picture.left, picture.right);
    const LONG y = std::clamp<LONG>(point.y, picture.top, picture.bottom);
    draw_band(preview, self.rubber_band);
    self.rubber_band = {std::min(self.crop_anchor.x, x), std::min(self.crop_anchor.y, y),
                        std::max(self.crop_anchor.x, x), std::max(self.crop_anchor.y, y)};
    draw_band(preview, self.rubber_band);
}

void start_crop_drag(HWND preview, POINT point)
{
    preview_state& self = preview_of(preview);
    const RECT picture = to_rect(self.document->preview().picture_rect);
    if (self.dragging || !PtInRect(&picture, point))
        return;
    self.crop_anchor = point;
    self.rubber_band = {point.x, point.y, point.x, point.y};
    SetCapture(preview);
    self.dragging = true;
}

LRESULT on_mouse_move(HWND preview, LPARAM position)
{
    preview_state& self = preview_of(preview);
    self.last_mouse = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (self.dragging)
        follow_crop_drag(preview, self.last_mouse);
    return 0;
}

LRESULT on_left_button_up(HWND preview)
{
    end_crop_drag(preview);
    return 0;
}

LRESULT on_activate(HWND preview, WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE)
        end_crop_drag(preview);
    return 0;
}

LRESULT on_capture_changed(HWND preview, LPARAM new_owner)
{
    // Capture taken away mid-drag (another program, a dialog): the drag ends
    // with the band as it stands.
    if (reinterpret_cast<HWND>(new_owner) != preview)
        end_crop_drag(preview);
    return 0;
}

LRESULT on_left_button_down(HWND preview, LPARAM position)
{
    poster_document& document = *preview_of(preview).document;
    if (document.crop_mode() != 0) {
        start_crop_drag(preview, {GET_X_LPARAM(position), GET_Y_LPARAM(position)});
        return 0;
    }
    int32_t column = 0, row = 0;
    if (!preview_page_at(document.preview(), document.npages(), GET_X_LPARAM(position), GET_Y_LPARAM(position),
                         &column, &row) ||
        !document.toggle_page(column, row))
        return 0;
    // Only the page and the page count change.
    const RECT page = to_rect(preview_page_cell(document.preview(), column, row));
    InvalidateRect(preview, &page, FALSE);
    RECT client;
    GetClientRect(preview, &client);
    client.top = client.bottom - preview_status_height;
    InvalidateRect(preview, &client, FALSE);
    return 0;
}

LRESULT CALLBACK preview_proc(HWND preview, UINT message, WPARAM wparam, LPARAM lparam)
{
    // Before creation and after the end the preview has no state to work on.
    if (message != WM_CREATE && !window_state<preview_state>(preview))
        return DefWindowProcA(preview, message, wparam, lparam);
    try {
        switch (message) {
        case WM_CREATE: return on_create(preview, reinterpret_cast<const CREATESTRUCTA*>(lparam));
        case WM_NCDESTROY: return on_nc_destroy(preview);
        case WM_SIZE: return on_size(preview, lparam);
        case WM_PAINT: return on_paint(preview);
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR: return on_set_cursor(preview, message, wparam, lparam);
        case WM_MOUSEMOVE: return on_mouse_move(preview, lparam);
        case WM_LBUTTONDOWN: return on_left_button_down(preview, lparam);
        case WM_LBUTTONUP: return on_left_button_up(preview);
        case WM_ACTIVATE: return on_activate(preview, wparam);
        case WM_CAPTURECHANGED: return on_capture_changed(preview, lparam);
        }
        return DefWindowProcA(preview, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

void end_crop_drag(HWND preview)
{
    preview_state* self = preview ? window_state<preview_state>(preview) : nullptr;
    if (!self || !self->dragging)
        return;
    draw_band(preview, self->rubber_band);
    self->dragging = false;
    ReleaseCapture();
    const RECT& band = self->rubber_band;
    self->document->apply_crop_band({band.left, band.top, band.right, band.bottom});
}

HWND create_preview_window(HWND parent, int id, poster_document* document)
{
    if (!ensure_child_class(window_instance(parent), preview_class, preview_proc))
        return nullptr;
    return create_child_window(preview_class, parent, id, 0, 0, 300, 300, document);
}
