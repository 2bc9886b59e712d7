// The source's window, built from plain controls so that the source needs
// no resources. Its keys reach it through the application's message loop
// (the source answers the application's event requests with them).
#include "scan/sane_source/source_window.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "scan/sane_source/source.h"

namespace {

struct window_state {
    sane_source* source;
    source_window_mode mode;
};

window_state* state_of(HWND window)
{
    return reinterpret_cast<window_state*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

constexpr int client_width = 330;
constexpr int client_height = 272;
constexpr int setting_ids[] = {ID_SOURCE_RESOLUTION, ID_SOURCE_MODE, ID_SOURCE_LEFT,
                               ID_SOURCE_TOP,        ID_SOURCE_WIDTH, ID_SOURCE_HEIGHT};

HWND add_control(HWND window, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h)
{
    HWND control = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void add_label(HWND window, const char* text, int x, int y, int w)
{
    add_control(window, "STATIC", text, 0, -1, x, y + 3, w, 16);
}

void add_number(HWND window, const char* label, int id, int x, int y, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld", std::lround(value));
    add_label(window, label, x, y, 45);
    add_control(window, "EDIT", text, WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_RIGHT, id, x + 50, y, 60, 22);
}

void add_choice(HWND combo, const char* text, LPARAM data, bool selected)
{
    const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(combo, CB_SETITEMDATA, index, data);
    if (selected)
        SendMessageA(combo, CB_SETCURSEL, index, 0);
}

LRESULT on_create(HWND window, const CREATESTRUCTA* create)
{
    auto* state = static_cast<window_state*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    const sane_source& source = *state->source;
    const scan_choices& choices = source.choices();
    const scan_settings& now = source.settings();

    add_label(window, "Scanner:", 10, 10, 70);
    add_control(window, "STATIC", source.title(), SS_NOPREFIX, ID_SOURCE_DEVICE, 90, 13, 230, 16);

    add_label(window, "Resolution:", 10, 38, 75);
    HWND resolution = add_control(window, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                                  ID_SOURCE_RESOLUTION, 90, 38, 120, 200);
    for (int32_t dpi : choices.resolutions) {
        char text[32];
        std::snprintf(text, sizeof text, "%d dpi", static_cast<int>(dpi));
        add_choice(resolution, text, dpi, dpi == now.dpi);
    }

    add_label(window, "Mode:", 10, 66, 75);
    HWND mode = add_control(window, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP, ID_SOURCE_MODE, 90, 66, 120, 100);
    if (choices.color)
        add_choice(mode, "Color", 1, now.color);
    if (choices.gray)
        add_choice(mode, "Gray", 0, !now.color);

    char area[96] = "Area (mm):";
    if (choices.area)
        std::snprintf(area, sizeof area, "Area in mm, within %ld x %ld:", std::lround(choices.area_right),
                      std::lround(choices.area_bottom));
    add_label(window, area, 10, 96, 300);
    add_number(window, "Left:", ID_SOURCE_LEFT, 10, 120, now.left);
    add_number(window, "Top:", ID_SOURCE_TOP, 170, 120, now.top);
    add_number(window, "Width:", ID_SOURCE_WIDTH, 10, 148, now.width);
    add_number(window, "Height:", ID_SOURCE_HEIGHT, 170, 148, now.height);
    if (!choices.area)
        for (int id : {ID_SOURCE_LEFT, ID_SOURCE_TOP, ID_SOURCE_WIDTH, ID_SOURCE_HEIGHT})
            EnableWindow(GetDlgItem(window, id), FALSE);

    add_control(window, PROGRESS_CLASSA, "", 0, ID_SOURCE_PROGRESS, 10, 182, 310, 16);
    add_control(window, "STATIC", "", SS_NOPREFIX, ID_SOURCE_STATUS, 10, 204, 310, 28);
    add_control(window, "BUTTON", "Scan", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 140, 238, 85, 26);
    add_control(window, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 235, 238, 85, 26);
    if (state->mode != source_window_mode::full) {
        for (int id : setting_ids)
            EnableWindow(GetDlgItem(window, id), FALSE);
        ShowWindow(GetDlgItem(window, IDOK), SW_HIDE);
    }
    return 0;
}

// Whole millimetres from an edit; false when it holds none.
bool read_millimetres(HWND window, int id, double& value)
{
    char text[32] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0')
        return false;
    value = number;
    return true;
}

LPARAM selected_data(HWND window, int id)
{
    HWND combo = GetDlgItem(window, id);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : SendMessageA(combo, CB_GETITEMDATA, index, 0);
}

void on_scan(HWND window)
{
    window_state* state = state_of(window);
    sane_source& source = *state->source;
    const scan_choices& choices = source.choices();
    scan_settings wanted = source.settings();
    if (const LPARAM dpi = selected_data(window, ID_SOURCE_RESOLUTION); dpi > 0)
        wanted.dpi = static_cast<int32_t>(dpi);
    if (const LPARAM color = selected_data(window, ID_SOURCE_MODE); color >= 0)
        wanted.color = color == 1;
    if (choices.area) {
        const bool numbers = read_millimetres(window, ID_SOURCE_LEFT, wanted.left) &&
                             read_millimetres(window, ID_SOURCE_TOP, wanted.top) &&
                             read_millimetres(window, ID_SOURCE_WIDTH, wanted.width) &&
                             read_millimetres(window, ID_SOURCE_HEIGHT, wanted.height);
        if (!numbers || wanted.width <= 0 || wanted.height <= 0 || wanted.left < choices.area_left ||
            wanted.top < choices.area_top || wanted.left + wanted.width > choices.area_right + 0.5 ||
            wanted.top + wanted.height > choices.area_bottom + 0.5) {
            SetDlgItemTextA(window, ID_SOURCE_STATUS, "The area does not fit on the scanner.");
            return;
        }
    }
    source.start_scan(wanted);
}

LRESULT on_command(HWND window, WPARAM wparam)
{
    window_state* state = state_of(window);
    if (!state)
        return 0;
    switch (LOWORD(wparam)) {
    case IDOK:
        if (state->mode == source_window_mode::full && !state->source->scanning())
            on_scan(window);
        break;
    case IDCANCEL:
        if (state->source->scanning() && state->mode == source_window_mode::full)
            state->source->cancel_scan();
        else
            state->source->request_close();
        break;
    }
    return 0;
}

LRESULT on_progress(HWND window, LPARAM percent)
{
    SendDlgItemMessageA(window, ID_SOURCE_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    return 0;
}

LRESULT on_done(HWND window, WPARAM generation)
{
    if (window_state* state = state_of(window))
        state->source->on_scan_finished(static_cast<unsigned>(generation));
    return 0;
}

LRESULT on_close(HWND window)
{
    if (window_state* state = state_of(window))
        state->source->request_close();
    return 0;
}

LRESULT on_nc_destroy(HWND window)
{
    // Also when the owner goes first: the source then has no window.
    std::unique_ptr<window_state> state(state_of(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (state)
        state->source->window_destroyed();
    return 0;
}

LRESULT CALLBACK source_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE: return on_create(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    case WM_COMMAND: return on_command(window, wparam);
    case WM_CLOSE: return on_close(window);
    case WM_NCDESTROY: return on_nc_destroy(window);
    case WM_SOURCE_PROGRESS: return on_progress(window, lparam);
    case WM_SOURCE_DONE: return on_done(window, wparam);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool register_class(HINSTANCE module)
{
    WNDCLASSEXA window_class{};
    if (GetClassInfoExA(module, source_window_class, &window_class))
        return true;
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = source_window_proc;
    window_class.hInstance = module;
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = source_window_class;
    return RegisterClassExA(&window_class) != 0;
}

}  // namespace

HWND create_source_window(sane_source& source, HINSTANCE module, HWND owner, source_window_mode mode)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!register_class(module))
        return nullptr;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD extended = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, style, FALSE, extended);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred over the application's window, else on the screen.
    RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner)
        GetWindowRect(owner, &over);
    const int x = over.left + (over.right - over.left - width) / 2;
    const int y = over.top + (over.bottom - over.top - height) / 2;
    auto state = std::make_unique<window_state>(window_state{&source, mode});
    HWND window = CreateWindowExA(extended, source_window_class, source.title(), style, x, y, width, height, owner,
                                  nullptr, module, state.get());
    if (!window)
        return nullptr;
    state.release();  // the window owns it now
    if (mode != source_window_mode::hidden) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}

void unregister_source_window(HINSTANCE module)
{
    UnregisterClassA(source_window_class, module);
}

void show_scanning(HWND window)
{
    if (!window)
        return;
    for (int id : setting_ids)
        EnableWindow(GetDlgItem(window, id), FALSE);
    EnableWindow(GetDlgItem(window, IDOK), FALSE);
    SendDlgItemMessageA(window, ID_SOURCE_PROGRESS, PBM_SETPOS, 0, 0);
    SetDlgItemTextA(window, ID_SOURCE_STATUS, "Scanning...");
}

void show_scan_ended(HWND window, const char* status)
{
    window_state* state = window ? state_of(window) : nullptr;
    if (!state)
        return;
    SetDlgItemTextA(window, ID_SOURCE_STATUS, status);
    if (state->mode != source_window_mode::full)
        return;
    const bool area = state->source->choices().area;
    for (int id : setting_ids) {
        const bool area_field = id != ID_SOURCE_RESOLUTION && id != ID_SOURCE_MODE;
        EnableWindow(GetDlgItem(window, id), !area_field || area);
    }
    EnableWindow(GetDlgItem(window, IDOK), TRUE);
    SendDlgItemMessageA(window, ID_SOURCE_PROGRESS, PBM_SETPOS, 0, 0);
}
