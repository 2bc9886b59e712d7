// The main window procedure and what it does on creation, resizing,
// painting, keys, drops, closing and destruction.
#include "app/shell/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/base/gdi.h"
#include "app/base/paint_image.h"
#include "app/base/picture_resource.h"
#include "app/base/window_guard.h"
#include "app/base/window_state.h"
#include "app/buttons/skinned_button.h"
#include "app/diagnostics/diag_log.h"
#include "app/poster_windows/preview_window.h"
#include "app/poster_windows/size_panel.h"
#include "app/settings/craft_settings.h"
#include "app/settings/settings.h"
#include "app/shell/app_state.h"
#include "app/shell/commands.h"
#include "app/shell/open_picture.h"
#include "resources/resource_ids.h"

namespace {

// A left-hand button's plate: never moves.
struct button_place {
    int id;
    const char* text;
    int x, y, width;
};

constexpr button_place left_buttons[] = {
    {ID_OPEN, "Open", 13, 121, 159},
    {ID_SCAN, "Scan", 13, 154, 126},
    {ID_SCAN_SELECT, "Scan Select", 146, 154, 26},
    {ID_PAGE_SETUP, "Page Setup", 13, 187, 159},
    {ID_CROP, "Crop", 13, 319, 76},
    {ID_UNCROP, "Uncrop", 96, 319, 76},
    {ID_PRINT, "Print", 13, 352, 159},
    {ID_EXTRAS, "Poster Extras", 13, 385, 159},
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

tilora_app& app_of(HWND window)
{
    return *window_state<tilora_app>(window);
}

void add_tooltip(HWND tooltip_window, HWND button, const char* text)
{
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = button;
    tool.uId = 0;
    GetClientRect(button, &tool.rect);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Start-up values of the poster: unit and margins from the settings, the
// poster-size panel showing the unit's default poster, and the tile of the
// default printer, or of an A4 sheet when there is none.
void init_poster_defaults(tilora_app& app)
{
    const stored_settings settings = load_settings();
    app.document.init_defaults(settings.metric, {settings.margin_left, settings.margin_top, settings.margin_right,
                                                 settings.margin_bottom});
    const stored_craft craft = load_craft_settings();
    app.document.set_craft(craft.craft);
    app.craft_stored = craft.stored;
    // The panel is made only now, so that it shows the unit just read.
    create_size_panel(app.main_window, ID_POSTER_SIZE, 13, 230, 159, 78, &app.document, &app.dialog_panel);
    fetch_default_printer(app.printer);
    smm_size tile{};
    smm_rect unprintable{};
    if (app.printer.devmode() && app.printer.devnames() &&
        measure_printer(app.printer.devnames(), app.printer.devmode(), app.document.g_paper_margin(), &tile,
                        &unprintable))
        app.document.set_measured_page(tile, unprintable);
    else
        app.document.set_a4_page();
}

LRESULT on_create(HWND window, const CREATESTRUCTA* create)
{
    auto* app = static_cast<tilora_app*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    app->main_window = window;
    app->background_tile = load_picture_resource(app->instance, PICTURE_BACKGROUND);
    app->logo_image = load_picture_resource(app->instance, PICTURE_LOGO);
    app->scanner.create(window);
    const raster_image* background = app->background_tile.get();
    for (const button_place& b : left_buttons)
        button_create(window, b.id, b.x, b.y, b.width, b.text, background);
    app->tooltip_window = CreateWindowExA(0, TOOLTIPS_CLASSA, "", TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, app->instance, nullptr);
    for (const right_button& b : right_buttons) {
        HWND button = button_create(window, b.id, 0, 0, button_plate_height, b.text, background);
        if (button && app->tooltip_window)
            add_tooltip(app->tooltip_window, button, b.text);
    }
    create_preview_window(window, ID_PREVIEW, &app->document);
    init_poster_defaults(*app);
    app->document.install_picture(load_picture_resource(app->instance, PICTURE_STARTUP));
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT on_destroy(HWND window)
{
    tilora_app& app = app_of(window);
    const smm_rect margins = app.document.g_paper_margin();
    app.logo_image.reset();
    app.background_tile.reset();
    save_settings({app.document.g_metric(), margins.left, margins.top, margins.right, margins.bottom});
    save_craft_settings(app.document.craft(), app.craft_stored);
    app.scanner.destroy();
    PostQuitMessage(0);
    return 0;
}

// Places the preview and the right-hand buttons for a client area of
// width x height; the left column never moves.
void layout_main_window(HWND window, int width, int height)
{
    // A minimised window reports 0 x 0; the preview then gets no room at all.
    MoveWindow(GetDlgItem(window, ID_PREVIEW), 191, 46, std::max(width - 198, 0), std::max(height - 53, 0), TRUE);
    for (const right_button& b : right_buttons)
        button_place_face(window, b.id, width - b.from_right);
}

// The background tile repeated over the client area and the logo at the
// top-left corner.
void paint_main_window(const tilora_app& app, HDC dc)
{
    RECT client;
    GetClientRect(app.main_window, &client);
    const raster_image* logo = app.logo_image.get();
    const raster_image* tile = app.background_tile.get();
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

LRESULT on_size(HWND window, LPARAM size)
{
    layout_main_window(window, LOWORD(size), HIWORD(size));
    return 0;
}

LRESULT on_paint(HWND window)
{
    paint_session paint(window);
    paint_main_window(app_of(window), paint.dc());
    return 0;
}

LRESULT on_close(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    char log_path[MAX_PATH];
    if (log_get_path(log_path, sizeof log_path))
        ShellExecuteA(window, nullptr, log_path, nullptr, "", SW_SHOWNORMAL);
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT on_activate_app(HWND window, WPARAM active)
{
    // Another program comes forward: a crop drag ends with its band.
    if (!active) {
        ReleaseCapture();
        end_crop_drag(GetDlgItem(window, ID_PREVIEW));
    }
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
    // Tab gives the keyboard to the first button, Shift+Tab to the last; the
    // buttons pass it on among themselves.
    if (key == VK_TAB) {
        HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
        HWND button = first && GetKeyState(VK_SHIFT) < 0 ? GetNextDlgTabItem(window, first, TRUE) : first;
        if (button)
            SetFocus(button);
    }
    return 0;
}

LRESULT on_command(HWND window, WPARAM wparam)
{
    dispatch_command(app_of(window), wparam);
    return 0;
}

LRESULT on_drop_files(HWND window, WPARAM drop_handle)
{
    HDROP drop = reinterpret_cast<HDROP>(drop_handle);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 1) {
        char path[MAX_PATH] = {};
        if (DragQueryFileA(drop, 0, path, sizeof path))
            open_picture_file(app_of(window), path);
    } else if (count > 1) {
        MessageBoxA(window, "One file at a time, please.", app_caption, MB_OK);
    }
    DragFinish(drop);
    return 0;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // Before creation the window has no program state to work on.
    if (message != WM_CREATE && !window_state<tilora_app>(window))
        return DefWindowProcA(window, message, wparam, lparam);
    try {
        switch (message) {
        case WM_CREATE: return on_create(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
        case WM_DESTROY: return on_destroy(window);
        case WM_SIZE: return on_size(window, lparam);
        case WM_PAINT: return on_paint(window);
        case WM_CLOSE: return on_close(window, message, wparam, lparam);
        case WM_ERASEBKGND: return 1;
        case WM_ACTIVATEAPP: return on_activate_app(window, wparam);
        case WM_GETMINMAXINFO: return on_min_max_info(lparam);
        case WM_KEYDOWN: return on_key_down(window, wparam);
        case WM_COMMAND: return on_command(window, wparam);
        case WM_DROPFILES: return on_drop_files(window, wparam);
        }
        return DefWindowProcA(window, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

bool register_main_window_class(HINSTANCE instance)
{
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TILORA));
    window_class.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TILORA), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXSMICON),
                                                          GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.lpszClassName = main_window_class;
    return RegisterClassExA(&window_class) != 0;
}

HWND create_main_window(tilora_app& app)
{
    return CreateWindowExA(0, main_window_class, "Tilora", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, app.instance, &app);
}
