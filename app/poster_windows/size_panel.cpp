// The poster-size panel: "Poster Size" over a Width and a Height edit with
// their unit, on a light gradient. A number typed in one edit goes to the
// poster document, which sets the poster, has the other edit rewritten from
// the crop's aspect and lays the poster out again.
#include "app/poster_windows/size_panel.h"

#include <cstring>
#include <memory>
#include <string>

#include "app/base/fonts.h"
#include "app/base/paint_image.h"
#include "app/base/window_class.h"
#include "app/base/window_guard.h"
#include "app/base/window_state.h"
#include "poster/number_text.h"
#include "raster/owned_image.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* panel_class = "TLRAPSIZE";
constexpr COLORREF text_light = RGB(200, 200, 200);
constexpr COLORREF text_dark = RGB(128, 128, 128);

struct panel_context {
    poster_document* document;
    HWND* dialog_panel;
};

struct size_panel {
    poster_document* document = nullptr;
    HWND* dialog_panel = nullptr;
    owned_font title_font;
    owned_font label_font;
    owned_font edit_font;
    owned_font meter_font;
    owned_image background;
    // Cleared while the program writes the edits, so that its own text does
    // not come back as a change from the user.
    bool edits_follow_user = false;
};

size_panel& panel_of(HWND panel)
{
    return *window_state<size_panel>(panel);
}

const char* unit_label(const poster_document& document)
{
    return document.g_metric() ? "cm" : "inch.";
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

HWND create_number_edit(HWND panel, int id, int y, HFONT font)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_CENTER, 53, y,
                                71, 19, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                window_instance(panel), nullptr);
    if (!edit)
        return nullptr;
    SetWindowLongPtrA(edit, GWLP_USERDATA, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(number_edit_proc));
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return edit;
}

LRESULT on_create(HWND panel, const CREATESTRUCTA* create)
{
    const auto* context = static_cast<const panel_context*>(create->lpCreateParams);
    auto state = std::make_unique<size_panel>();
    state->document = context->document;
    state->dialog_panel = context->dialog_panel;
    state->title_font = create_window_font("Arial", 18, FW_BOLD, false);
    state->label_font = create_window_font("Arial", 15, FW_NORMAL, false);
    state->edit_font = create_window_font("Arial", 15, FW_NORMAL, false);
    state->meter_font = create_window_font("Arial", 11, FW_NORMAL, false);
    size_panel& self = *attach_window_state(panel, std::move(state));
    if (!create_number_edit(panel, ID_POSTER_WIDTH, 24, self.edit_font.get()) ||
        !create_number_edit(panel, ID_POSTER_HEIGHT, 46, self.edit_font.get()))
        return -1;
    self.edits_follow_user = true;
    self.background.reset(image_create(PIXEL_BGR24, create->cx, create->cy));
    if (self.background)
        image_gradient(self.background.get(), 0xFFFFFFFF, 0xFFF0F0F0);
    show_poster_size(panel, POSTER_BOTH);
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

void paint_edit_labels(HDC panel_dc, HWND panel, int edit_id, const char* caption, const char* unit)
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
    draw_shadowed_text(panel_dc, box.right + 5, y, unit);
}

// The strip under the height edit where the resolution meter is shown.
RECT meter_strip(HWND panel)
{
    RECT client;
    GetClientRect(panel, &client);
    return {client.left + 2, client.bottom - 13, client.right - 2, client.bottom - 1};
}

// The picture's resolution at the poster's size, when the user asked for
// it: grey, amber when low, red when very low.
void paint_meter(HWND panel, HDC dc, const size_panel& self)
{
    const poster_document& document = *self.document;
    const std::optional<resolution_report> meter = document.resolution();
    if (!document.craft().show_resolution || !meter)
        return;
    selection font(dc, self.meter_font.get());
    const COLORREF colour = meter->level == resolution_level::good  ? text_dark
                            : meter->level == resolution_level::low ? RGB(200, 120, 0)
                                                                     : RGB(200, 0, 0);
    SetTextColor(dc, colour);
    RECT strip = meter_strip(panel);
    const std::string text = resolution_short_text(*meter);
    DrawTextA(dc, text.c_str(), -1, &strip, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

LRESULT on_paint(HWND panel)
{
    const size_panel& self = panel_of(panel);
    paint_session paint(panel);
    HDC dc = paint.dc();
    RECT client;
    GetClientRect(panel, &client);
    if (self.background)
        paint_image(self.background.get(), dc, 0, 0);
    else
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    outline_rectangle(dc, client, RGB(124, 124, 124));

    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const UINT old_align = GetTextAlign(dc);
    {
        selection title_font(dc, self.title_font.get());
        RECT title = client;
        title.top += 2;
        title.right += 1;
        SetTextColor(dc, text_light);
        DrawTextA(dc, "Poster Size", -1, &title, DT_SINGLELINE | DT_CENTER);
        title = client;
        title.top += 1;
        SetTextColor(dc, text_dark);
        DrawTextA(dc, "Poster Size", -1, &title, DT_SINGLELINE | DT_CENTER);
    }
    {
        selection label_font(dc, self.label_font.get());
        const char* unit = unit_label(*self.document);
        paint_edit_labels(dc, panel, ID_POSTER_WIDTH, "Width:", unit);
        paint_edit_labels(dc, panel, ID_POSTER_HEIGHT, "Height:", unit);
    }
    paint_meter(panel, dc, self);
    SetTextAlign(dc, old_align);
    SetBkMode(dc, old_mode);
    return 0;
}

LRESULT on_command(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    size_panel& self = panel_of(panel);
    const int id = LOWORD(wparam);
    const int code = HIWORD(wparam);
    if (id != ID_POSTER_WIDTH && id != ID_POSTER_HEIGHT)
        return DefWindowProcA(panel, message, wparam, lparam);
    if (code == EN_SETFOCUS)
        *self.dialog_panel = panel;
    else if (code == EN_KILLFOCUS)
        *self.dialog_panel = nullptr;
    else if (code == EN_CHANGE && self.edits_follow_user) {
        double number = 0;
        const bool typed = read_number(id, panel, &number);
        self.document->type_poster_side(id == ID_POSTER_WIDTH ? POSTER_WIDTH : POSTER_HEIGHT,
                                        typed ? std::optional<double>(number) : std::nullopt);
        return 0;
    }
    return DefWindowProcA(panel, message, wparam, lparam);
}

LRESULT on_destroy(HWND panel)
{
    // The edits give the font back before it is deleted.
    HGDIOBJ system_font = GetStockObject(SYSTEM_FONT);
    SendMessageA(GetDlgItem(panel, ID_POSTER_WIDTH), WM_SETFONT, reinterpret_cast<WPARAM>(system_font), FALSE);
    SendMessageA(GetDlgItem(panel, ID_POSTER_HEIGHT), WM_SETFONT, reinterpret_cast<WPARAM>(system_font), FALSE);
    size_panel& self = panel_of(panel);
    self.edits_follow_user = false;
    if (*self.dialog_panel == panel)
        *self.dialog_panel = nullptr;
    return 0;
}

LRESULT on_nc_destroy(HWND panel)
{
    detach_window_state<size_panel>(panel);
    return 0;
}

LRESULT CALLBACK panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    // Before creation and after the end the panel has no state to work on.
    if (message != WM_CREATE && !window_state<size_panel>(panel))
        return DefWindowProcA(panel, message, wparam, lparam);
    try {
        switch (message) {
        case WM_CREATE: return on_create(panel, reinterpret_cast<const CREATESTRUCTA*>(lparam));
        case WM_PAINT: return on_paint(panel);
        case WM_ERASEBKGND: return 1;
        case WM_COMMAND: return on_command(panel, message, wparam, lparam);
        case WM_DESTROY: return on_destroy(panel);
        case WM_NCDESTROY: return on_nc_destroy(panel);
        }
        return DefWindowProcA(panel, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

HWND create_size_panel(HWND parent, int id, int x, int y, int width, int height, poster_document* document,
                       HWND* dialog_panel)
{
    if (!ensure_child_class(window_instance(parent), panel_class, panel_proc))
        return nullptr;
    panel_context context = {document, dialog_panel};
    return create_child_window(panel_class, parent, id, x, y, width, height, &context);
}

void show_poster_size(HWND panel, int mask)
{
    size_panel* self = panel ? window_state<size_panel>(panel) : nullptr;
    if (!self)
        return;
    const bool saved = self->edits_follow_user;
    self->edits_follow_user = false;
    const double factor = self->document->unit_smm();
    const smm_size poster = self->document->g_poster();
    if (mask & POSTER_WIDTH)
        format_number(poster.width / factor, ID_POSTER_WIDTH, panel);
    if (mask & POSTER_HEIGHT)
        format_number(poster.height / factor, ID_POSTER_HEIGHT, panel);
    self->edits_follow_user = saved;
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

void show_resolution(HWND panel)
{
    if (!panel || !window_state<size_panel>(panel))
        return;
    const RECT strip = meter_strip(panel);
    InvalidateRect(panel, &strip, FALSE);
}
