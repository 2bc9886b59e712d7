// The poster-size panel: "Poster Size" over a Width and a Height edit with
// their unit, on a light gradient. Typing a valid number in one edit sets the
// poster, rewrites the other edit from the crop's aspect and lays the poster
// out again.
#include "poster/size_panel_win.h"

#include <cstring>
#include <string>

#include "app/shell.h"
#include "app/window_class.h"
#include "app/window_guard.h"
#include "poster/gdi_win.h"
#include "poster/model_win.h"
#include "poster/number_text.h"
#include "poster/paint_image_win.h"
#include "poster/poster_size.h"

bool panel_ready = false;

namespace {

constexpr const char* panel_class = "TLRAPSIZE";
constexpr COLORREF text_light = RGB(200, 200, 200);
constexpr COLORREF text_dark = RGB(128, 128, 128);

struct size_panel {
    HWND window = nullptr;
    HFONT title_font = nullptr;
    HFONT label_font = nullptr;
    HFONT edit_font = nullptr;
    raster_image* background = nullptr;
};

size_panel g_panel;

// Cleared while the program writes the edits, so that its own text does not
// come back as a change from the user.
bool edits_follow_user = false;

int32_t unit_smm()
{
    return g_model.g_metric ? smm_per_cm : smm_per_inch;
}

const char* unit_label()
{
    return g_model.g_metric ? "cm" : "inch.";
}

char decimal_separator()
{
    char separator[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    return separator[0];
}

// Typed characters other than digits and decimal separators never reach the
// edit; control characters such as backspace do.
LRESULT CALLBACK number_edit_proc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    if (message == WM_CHAR && wparam >= 32 && !(wparam >= '0' && wparam <= '9') && wparam != '.' && wparam != ',')
        return 0;
    return CallWindowProcA(previous, edit, message, wparam, lparam);
}

HWND create_number_edit(HWND panel, int id, int y)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_CENTER, 53, y,
                                71, 19, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_shell.instance,
                                nullptr);
    if (!edit)
        return nullptr;
    SetWindowLongPtrA(edit, GWLP_USERDATA, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(number_edit_proc));
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_panel.edit_font), FALSE);
    return edit;
}

LRESULT on_create(HWND panel, const CREATESTRUCTA* create)
{
    g_panel.window = panel;
    g_panel.title_font = create_window_font("Arial", 18, FW_BOLD, false);
    g_panel.label_font = create_window_font("Arial", 15, FW_NORMAL, false);
    g_panel.edit_font = create_window_font("Arial", 15, FW_NORMAL, false);
    if (!create_number_edit(panel, ID_POSTER_WIDTH, 24) || !create_number_edit(panel, ID_POSTER_HEIGHT, 46))
        return -1;
    edits_follow_user = true;
    g_panel.background = image_create(PIXEL_BGR24, create->cx, create->cy);
    if (g_panel.background)
        image_gradient(g_panel.background, 0xFFFFFFFF, 0xFFF0F0F0);
    show_poster_size(POSTER_BOTH);
    return 0;
}

// Text twice: light, one pixel to the lower right, then dark on top of it.
void draw_shadowed_text(HDC dc, int x, int y, const char* text)
{
    const int length = static_cast<int>(strlen(text));
    SetTextColor(dc, text_light);
    TextOutA(dc, x + 1, y + 1, text, length);
    SetTextColor(dc, text_dark);
    TextOutA(dc, x, y, text, length);
}

void paint_edit_labels(HDC panel_dc, HWND panel, int edit_id, const char* caption)
{
    HWND edit = GetDlgItem(panel, edit_id);
    if (!edit)
        return;
    RECT box;
    GetWindowRect(edit, &box);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&box), 2);
    TEXTMETRICA metrics{};
    GetTextMetricsA(panel_dc, &metrics);
    const int x = box.left;
    const int y = (box.top + box.bottom) / 2 - metrics.tmHeight / 2;
    SetTextAlign(panel_dc, TA_RIGHT);
    draw_shadowed_text(panel_dc, x - 5, y, caption);
    SetTextAlign(panel_dc, TA_LEFT);
    draw_shadowed_text(panel_dc, box.right + 5, y, unit_label());
}

LRESULT on_paint(HWND panel)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    RECT client;
    GetClientRect(panel, &client);
    if (g_panel.background)
        paint_image(g_panel.background, dc, 0, 0);
    else
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    outline_rectangle(dc, client, RGB(124, 124, 124));

    const int old_mode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, g_panel.title_font);
    const UINT old_align = GetTextAlign(dc);
    RECT title = client;
    title.top += 2;
    title.right += 1;
    SetTextColor(dc, text_light);
    DrawTextA(dc, "Poster Size", -1, &title, DT_SINGLELINE | DT_CENTER);
    title = client;
    title.top += 1;
    SetTextColor(dc, text_dark);
    DrawTextA(dc, "Poster Size", -1, &title, DT_SINGLELINE | DT_CENTER);

    SelectObject(dc, g_panel.label_font);
    paint_edit_labels(dc, panel, ID_POSTER_WIDTH, "Width:");
    paint_edit_labels(dc, panel, ID_POSTER_HEIGHT, "Height:");
    SetTextAlign(dc, old_align);
    SelectObject(dc, old_font);
    SetBkMode(dc, old_mode);
    EndPaint(panel, &paint);
    return 0;
}

LRESULT on_command(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    const int id = LOWORD(wparam);
    const int code = HIWORD(wparam);
    if (id != ID_POSTER_WIDTH && id != ID_POSTER_HEIGHT)
        return DefWindowProcA(panel, message, wparam, lparam);
    if (code == EN_SETFOCUS)
        g_shell.dialog_panel = panel;
    else if (code == EN_KILLFOCUS)
        g_shell.dialog_panel = nullptr;
    else if (code == EN_CHANGE && edits_follow_user && panel_ready) {
        if (set_poster_from_edit(id == ID_POSTER_WIDTH ? POSTER_WIDTH : POSTER_HEIGHT))
            recompute_layout();
        return 0;
    }
    return DefWindowProcA(panel, message, wparam, lparam);
}

LRESULT on_destroy(HWND panel)
{
    DeleteObject(g_panel.title_font);
    DeleteObject(g_panel.label_font);
    // The edits give the font back before it is deleted.
    HGDIOBJ system_font = GetStockObject(SYSTEM_FONT);
    SendMessageA(GetDlgItem(panel, ID_POSTER_WIDTH), WM_SETFONT, reinterpret_cast<WPARAM>(system_font), FALSE);
    SendMessageA(GetDlgItem(panel, ID_POSTER_HEIGHT), WM_SETFONT, reinterpret_cast<WPARAM>(system_font), FALSE);
    DeleteObject(g_panel.edit_font);
    image_free(g_panel.background);
    g_panel = size_panel{};
    edits_follow_user = false;
    if (g_shell.dialog_panel == panel)
        g_shell.dialog_panel = nullptr;
    return 0;
}

LRESULT CALLBACK panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        switch (message) {
        case WM_CREATE: return on_create(panel, reinterpret_cast<const CREATESTRUCTA*>(lparam));
        case WM_PAINT: return on_paint(panel);
        case WM_ERASEBKGND: return 1;
        case WM_COMMAND: return on_command(panel, message, wparam, lparam);
        case WM_DESTROY: return on_destroy(panel);
        }
        return DefWindowProcA(panel, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

HWND create_size_panel(HWND parent, int id, int x, int y, int width, int height)
{
    if (!ensure_child_class(panel_class, panel_proc))
        return nullptr;
    return create_child_window(panel_class, parent, id, x, y, width, height);
}

bool set_poster_from_edit(int which)
{
    if (!panel_ready || !edits_follow_user)
        return false;
    const bool width = which == POSTER_WIDTH;
    double number = 0;
    if (!read_number(width ? ID_POSTER_WIDTH : ID_POSTER_HEIGHT, g_panel.window, &number))
        return false;
    smm_size poster{};
    if (!poster_from_side(width ? poster_side::width : poster_side::height, number * unit_smm(), crop_size(),
                          &poster))
        return false;
    // A poster that would need more pages than a layout can hold is refused
    // like a size out of range.
    if (check_grid(poster, g_model.g_page) == layout_refusal::too_many_pages)
        return false;
    g_model.g_poster = poster;
    show_poster_size(width ? POSTER_HEIGHT : POSTER_WIDTH);
    return true;
}

void show_poster_size(int mask)
{
    if (!g_panel.window)
        return;
    const bool saved = edits_follow_user;
    edits_follow_user = false;
    const double factor = unit_smm();
    if (mask & POSTER_WIDTH)
        format_number(g_model.g_poster.width / factor, ID_POSTER_WIDTH, g_panel.window);
    if (mask & POSTER_HEIGHT)
        format_number(g_model.g_poster.height / factor, ID_POSTER_HEIGHT, g_panel.window);
    edits_follow_user = saved;
}

void format_number(double value, int edit_id, HWND window)
{
    const std::string text = format_number_text(value, decimal_separator());
    SetDlgItemTextA(window, edit_id, text.c_str());
}

bool read_number(int edit_id, HWND window, double* value)
{
    char text[1025] = {};
    GetDlgItemTextA(window, edit_id, text, sizeof text);
    return parse_number_text(text, value);
}
