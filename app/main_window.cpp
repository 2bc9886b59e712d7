// The main window procedure and what it does on creation, resizing,
// painting, keys, drops, closing and destruction.
#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/buttons.h"
#include "app/commands.h"
#include "app/diag_log.h"
#include "app/open_picture.h"
#include "app/picture_resource.h"
#include "app/scanning/scan_commands.h"
#include "app/settings.h"
#include "app/shell.h"
#include "app/window_guard.h"
#include "poster/model_win.h"
#include "poster/paint_image_win.h"
#include "poster/preview_window_win.h"

namespace {

struct button_place {
    int id;
    const char* text;
    int x, y, width;
};

constexpr int button_height = 26;

constexpr button_place left_buttons[] = {
    {ID_OPEN, "Open", 13, 121, 159},
    {ID_SCAN, "Scan", 13, 154, 126},
    {ID_SCAN_SELECT, "Scan Select", 146, 154, 26},
    {ID_PAGE_SETUP, "Page Setup", 13, 187, 159},
    {ID_CROP, "Crop", 13, 319, 76},
    {ID_UNCROP, "Uncrop", 96, 319, 76},
    {ID_PRINT, "Print", 13, 352, 159},
};

// The right-hand buttons keep their distance from the right edge: the plate's
// left edge lies this far from it.
struct right_button {
    int id;
    const char* text;
    int from_right;
};

constexpr right_button right_buttons[] = {
    {ID_WEB, "Web", 101},
    {ID_OPTIONS, "Options", 67},
    {ID_HELP, "Help", 33},
};

constexpr int right_buttons_top = 12;

void add_tooltip(HWND button, const char* text)
{
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = button;
    tool.uId = 0;
    GetClientRect(button, &tool.rect);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(g_shell.tooltip_window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT on_create(HWND window)
{
    g_shell.main_window = window;
    g_shell.background_tile = load_picture_resource(PICTURE_BACKGROUND);
    g_shell.logo_image = load_picture_resource(PICTURE_LOGO);
    scanner_create(window);
    for (const button_place& b : left_buttons)
        create_command_button(window, b.id, b.text, b.x, b.y, b.width, button_height);
    g_shell.tooltip_window = CreateWindowExA(0, TOOLTIPS_CLASSA, "", TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_shell.instance,
                                             nullptr);
    for (const right_button& b : right_buttons) {
        HWND button = create_command_button(window, b.id, b.text, 0, 0, button_height, button_height);
        if (button && g_shell.tooltip_window)
            add_tooltip(button, b.text);
    }
    create_preview_window(window, ID_PREVIEW);
    init_poster_defaults(window);
    install_picture(load_picture_resource(PICTURE_STARTUP));
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT on_destroy()
{
    const bool metric = g_model.g_metric;
    const smm_rect margins = g_model.g_paper_margin;
    free_poster_model();
    image_free(g_shell.logo_image);
    image_free(g_shell.background_tile);
    g_shell.logo_image = nullptr;
    g_shell.background_tile = nullptr;
    save_settings({metric, margins.left, margins.top, margins.right, margins.bottom});
    scanner_destroy();
    PostQuitMessage(0);
    return 0;
}

LRESULT on_size(LPARAM size)
{
    layout_main_window(LOWORD(size), HIWORD(size));
    return 0;
}

LRESULT on_paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paint_main_window(dc);
    EndPaint(window, &paint);
    return 0;
}

LRESULT on_close(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    char log_path[MAX_PATH];
    if (log_get_path(log_path, sizeof log_path))
        ShellExecuteA(window, nullptr, log_path, nullptr, "", SW_SHOWNORMAL);
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT on_activate_app(WPARAM active)
{
    if (!active)
        ReleaseCapture();
    return 0;
}

LRESULT on_min_max_info(LPARAM info)
{
    auto* sizes = reinterpret_cast<MINMAXINFO*>(info);
    sizes->ptMinTrackSize = {600, 450};
    return 0;
}

LRESULT on_key_down(HWND window, WPARAM key)
{
    if (key == VK_F5)
        enable_log_command(window);
    return 0;
}

LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam)
{
    // A push button keeps the keyboard focus after a click; the main window
    // takes it back so that its keys (F5) keep working.
    HWND control = reinterpret_cast<HWND>(lparam);
    if (control && GetFocus() == control && HIWORD(wparam) == BN_CLICKED)
        SetFocus(window);
    dispatch_command(wparam);
    return 0;
}

LRESULT on_drop_files(WPARAM drop_handle)
{
    HDROP drop = reinterpret_cast<HDROP>(drop_handle);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 1) {
        char path[MAX_PATH] = {};
        if (DragQueryFileA(drop, 0, path, sizeof path))
            open_picture_file(path);
    } else if (count > 1) {
        MessageBoxA(g_shell.main_window, "One file at a time, please.", app_caption, MB_OK);
    }
    DragFinish(drop);
    return 0;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        switch (message) {
        case WM_CREATE: return on_create(window);
        case WM_DESTROY: return on_destroy();
        case WM_SIZE: return on_size(lparam);
        case WM_PAINT: return on_paint(window);
        case WM_CLOSE: return on_close(window, message, wparam, lparam);
        case WM_ERASEBKGND: return 1;
        case WM_ACTIVATEAPP: return on_activate_app(wparam);
        case WM_GETMINMAXINFO: return on_min_max_info(lparam);
        case WM_KEYDOWN: return on_key_down(window, wparam);
        case WM_COMMAND: return on_command(window, wparam, lparam);
        case WM_DROPFILES: return on_drop_files(wparam);
        }
        return DefWindowProcA(window, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

bool register_main_window_class()
{
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = g_shell.instance;
    window_class.hIcon = LoadIconA(g_shell.instance, MAKEINTRESOURCEA(122));
    window_class.hIconSm = static_cast<HICON>(LoadImageA(g_shell.instance, MAKEINTRESOURCEA(122), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXSMICON),
                                                          GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.lpszClassName = main_window_class;
    return RegisterClassExA(&window_class) != 0;
}

HWND create_main_window()
{
    return CreateWindowExA(0, main_window_class, "Tilora", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_shell.instance, nullptr);
}

void layout_main_window(int width, int height)
{
    HWND window = g_shell.main_window;
    // A minimised window reports 0 x 0; the preview then gets no room at all.
    MoveWindow(GetDlgItem(window, ID_PREVIEW), 191, 46, std::max(width - 198, 0), std::max(height - 53, 0), TRUE);
    for (const right_button& b : right_buttons) {
        HWND button = GetDlgItem(window, b.id);
        if (!button)
            continue;
        const POINT face = button_face_offset(button);
        SetWindowPos(button, nullptr, width - b.from_right - face.x, right_buttons_top - face.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void paint_main_window(HDC dc)
{
    RECT client;
    GetClientRect(g_shell.main_window, &client);
    const raster_image* logo = g_shell.logo_image;
    const raster_image* tile = g_shell.background_tile;
    if (logo)
        ExcludeClipRect(dc, 0, 0, logo->width, logo->height);
    if (tile && tile->width > 0 && tile->height > 0) {
        const int columns = client.right / tile->width;
        const int rows = client.bottom / tile->height;
        for (int y = 0; y <= rows; ++y)
            for (int x = 0; x <= columns; ++x)
                paint_image(tile, dc, x * tile->width, y * tile->height);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    SelectClipRgn(dc, nullptr);
    if (logo)
        paint_image(logo, dc, 0, 0);
}
