// The preview window. It keeps no layout of its own: every repaint draws the
// model as recompute_layout left it, and a click switches one page.
#include "poster/preview_window_win.h"

#include <windowsx.h>

#include <cstdio>
#include <string>

#include "app/shell.h"
#include "app/window_class.h"
#include "app/window_guard.h"
#include "poster/gdi_win.h"
#include "poster/model_win.h"
#include "poster/paint_image_win.h"
#include "poster/preview_pages.h"

namespace {

constexpr const char* preview_class = "TLRAPREVIEW";

struct preview_state {
    HFONT label_font = nullptr;
    POINT last_mouse = {};
};

preview_state g_preview;

RECT to_rect(const int_rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

int_rect grid_rect()
{
    return preview_grid_rect(g_model.preview, g_model.npages);
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
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(222, 222, 222));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    Rectangle(dc, grid.right, grid.top + 2, grid.right + 2, grid.bottom + 2);
    Rectangle(dc, grid.left + 2, grid.bottom, grid.right + 2, grid.bottom + 2);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

void draw_page_outlines(HDC dc)
{
    HPEN outline_pen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HPEN cross_pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc, outline_pen);
    for (int32_t row = 0; row < g_model.npages.height; ++row) {
        for (int32_t column = 0; column < g_model.npages.width; ++column) {
            const RECT page = to_rect(preview_page_outline(g_model.preview, g_model.npages, column, row));
            SelectObject(dc, outline_pen);
            Rectangle(dc, page.left, page.top, page.right, page.bottom);
            if (page_flag(g_model.pages, column, row) == 0) {
                SelectObject(dc, cross_pen);
                MoveToEx(dc, page.left, page.top, nullptr);
                LineTo(dc, page.right, page.bottom);
                MoveToEx(dc, page.right, page.top, nullptr);
                LineTo(dc, page.left, page.bottom);
            }
        }
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(outline_pen);
    DeleteObject(cross_pen);
}

void draw_poster(HDC dc)
{
    const RECT grid = to_rect(grid_rect());
    const RECT picture = to_rect(g_model.preview.picture_rect);
    // White where the picture does not cover the grid.
    ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    FillRect(dc, &grid, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectClipRgn(dc, nullptr);
    draw_grid_shadow(dc, grid);
    paint_image(g_model.preview_image, dc, picture.left, picture.top);
    if (preview_grid_usable(g_model.preview))
        draw_page_outlines(dc);
}

// "1 page of A4", "7 pages of A4": the pages that will be printed and the
// paper they go on.
std::string status_text()
{
    char text[128];
    const int32_t pages = all_papers(g_model.pages);
    if (pages == 1)
        std::snprintf(text, sizeof text, "1 page of %s", g_model.paper_name);
    else
        std::snprintf(text, sizeof text, "%i pages of %s", static_cast<int>(pages), g_model.paper_name);
    return text;
}

void draw_status(HWND preview, HDC dc, const RECT& client)
{
    RECT strip = status_strip(client);
    HBRUSH brush = CreateSolidBrush(RGB(229, 229, 229));
    FillRect(dc, &strip, brush);
    DeleteObject(brush);
    const std::string text = status_text();
    // The window's text holds the same words, for tools that read windows
    // rather than pixels.
    char shown[128] = {};
    GetWindowTextA(preview, shown, sizeof shown);
    if (text != shown)
        SetWindowTextA(preview, text.c_str());
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, g_preview.label_font);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    SetTextColor(dc, RGB(197, 197, 197));
    DrawTextA(dc, text.c_str(), -1, &strip, format);
    OffsetRect(&strip, -1, -1);
    SetTextColor(dc, RGB(128, 128, 128));
    DrawTextA(dc, text.c_str(), -1, &strip, format);
    SelectObject(dc, old_font);
    SetBkMode(dc, old_mode);
}

LRESULT on_create()
{
    g_preview.label_font = create_window_font("", 18, FW_NORMAL, true);
    return 0;
}

LRESULT on_destroy()
{
    image_free(g_model.preview_image);
    g_model.preview_image = nullptr;
    DeleteObject(g_preview.label_font);
    g_preview.label_font = nullptr;
    return 0;
}

LRESULT on_size(LPARAM size)
{
    // A minimised parent sends a size of 0: nothing to lay out.
    if (size != 0)
        recompute_layout();
    return 0;
}

LRESULT on_paint(HWND preview)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(preview, &paint);
    RECT client;
    GetClientRect(preview, &client);
    const bool has_poster = g_model.preview_image != nullptr;
    if (has_poster) {
        const RECT grid = to_rect(grid_rect());
        ExcludeClipRect(dc, grid.left, grid.top, grid.right, grid.bottom);
    }
    draw_frame(dc, client);
    if (has_poster) {
        SelectClipRgn(dc, nullptr);
        draw_poster(dc);
    }
    draw_status(preview, dc, client);
    EndPaint(preview, &paint);
    return 0;
}

LRESULT on_set_cursor(HWND preview, UINT message, WPARAM wparam, LPARAM lparam)
{
    const RECT picture = to_rect(g_model.preview.picture_rect);
    if (LOWORD(lparam) == HTCLIENT && PtInRect(&picture, g_preview.last_mouse) && g_model.crop_mode == 1) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
        return 0;
    }
    return DefWindowProcA(preview, message, wparam, lparam);
}

LRESULT on_mouse_move(LPARAM position)
{
    g_preview.last_mouse = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return 0;
}

LRESULT on_left_button_down(HWND preview, LPARAM position)
{
    if (g_model.crop_mode != 0)
        return 0;
    int32_t column = 0, row = 0;
    if (!preview_page_at(g_model.preview, g_model.npages, GET_X_LPARAM(position), GET_Y_LPARAM(position), &column,
                         &row))
        return 0;
    set_page_flag(g_model.pages, column, row, page_flag(g_model.pages, column, row) == 0 ? 1 : 0);
    // Only the page and the page count change.
    const RECT page = to_rect(preview_page_cell(g_model.preview, column, row));
    InvalidateRect(preview, &page, FALSE);
    RECT client;
    GetClientRect(preview, &client);
    client.top = client.bottom - preview_status_height;
    InvalidateRect(preview, &client, FALSE);
    return 0;
}

LRESULT CALLBACK preview_proc(HWND preview, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        switch (message) {
        case WM_CREATE: return on_create();
        case WM_DESTROY: return on_destroy();
        case WM_SIZE: return on_size(lparam);
        case WM_PAINT: return on_paint(preview);
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR: return on_set_cursor(preview, message, wparam, lparam);
        case WM_MOUSEMOVE: return on_mouse_move(lparam);
        case WM_LBUTTONDOWN: return on_left_button_down(preview, lparam);
        }
        return DefWindowProcA(preview, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

HWND create_preview_window(HWND parent, int id)
{
    if (!ensure_child_class(preview_class, preview_proc))
        return nullptr;
    return create_child_window(preview_class, parent, id, 0, 0, 300, 300);
}
