// The splash window: centred in the work area, painted from its picture with
// three lines of text, and faded in by a 20 ms timer in steps of 5 percent.
#include "app/splash/splash_screen.h"

#include <algorithm>
#include <cstdio>

#include "app/base/app_version.h"
#include "app/base/paint_image.h"
#include "app/base/picture_resource.h"
#include "app/base/window_guard.h"
#include "app/base/window_state.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* notice_line = "Copyright (c) 2024, Quenbrook Software Limited.";
constexpr const char* web_address = "home.tilora.test";
constexpr UINT_PTR fade_timer = 1;
constexpr UINT fade_period_ms = 20;
constexpr int fade_step_percent = 5;
constexpr int text_margin = 11;
constexpr int text_row = 365;
constexpr int version_row = 343;
constexpr COLORREF version_color = RGB(128, 128, 128);

splash_screen& splash_of(HWND window)
{
    return *window_state<splash_screen>(window);
}

void set_alpha(const splash_screen& splash, int percent)
{
    splash.set_layered_attributes(splash.window, 0, static_cast<BYTE>(percent * 255 / 100), LWA_ALPHA);
}

// The picture's size as a window of the splash's style, centred in the work
// area; a window larger than the work area goes to its top-left corner.
void centre_in_work_area(HWND window, const raster_image& picture)
{
    RECT frame = {0, 0, picture.width, picture.height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (work.right - work.left - width) / 2, y = (work.bottom - work.top - height) / 2;
    SetWindowPos(window, nullptr, work.left + (x > 0 ? x : 0), work.top + (y > 0 ? y : 0), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

LRESULT on_create(HWND window, const CREATESTRUCTA* create)
{
    auto* splash = static_cast<splash_screen*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(splash));
    splash->window = window;
    centre_in_work_area(window, *splash->splash_image);
    if (splash->set_layered_attributes) {
        set_alpha(*splash, 0);
        // Without a timer there is no fade: the splash shows at once.
        splash->splash_fading = SetTimer(window, fade_timer, fade_period_ms, nullptr) != 0;
        if (!splash->splash_fading)
            set_alpha(*splash, 100);
    }
    splash->font = owned_font(CreateFontA(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                          "Arial"));
    return 0;
}

LRESULT on_paint(HWND window)
{
    const splash_screen& splash = splash_of(window);
    paint_session paint(window);
    HDC dc = paint.dc();
    const int width = splash.splash_image->width;
    paint_image(splash.splash_image.get(), dc, 0, 0);
    char version[32];
    std::snprintf(version, sizeof version, "Version %i.%.02i", app_version_major, app_version_minor);
    selection font(dc, splash.font.get());
    const COLORREF old_color = SetTextColor(dc, RGB(0, 0, 0));
    const UINT old_align = GetTextAlign(dc);
    TextOutA(dc, text_margin, text_row, notice_line, lstrlenA(notice_line));
    SetTextAlign(dc, TA_RIGHT);
    TextOutA(dc, width - text_margin, text_row, web_address, lstrlenA(web_address));
    SetTextColor(dc, version_color);
    TextOutA(dc, width - text_margin, version_row, version, lstrlenA(version));
    SetTextAlign(dc, old_align);
    SetTextColor(dc, old_color);
    return 0;
}

LRESULT on_timer(HWND window)
{
    splash_screen& splash = splash_of(window);
    if (!splash.splash_fading)
        return 0;
    splash.splash_alpha_percent = std::min(splash.splash_alpha_percent + fade_step_percent, 100);
    set_alpha(splash, splash.splash_alpha_percent);
    if (splash.splash_alpha_percent == 100) {
        KillTimer(window, fade_timer);
        splash.splash_fading = false;
    }
    return 0;
}

LRESULT on_destroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    splash_of(window).font.reset();
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT on_nc_destroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    splash_of(window).window = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK splash_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_CREATE && !window_state<splash_screen>(window))
        return DefWindowProcA(window, message, wparam, lparam);
    try {
        switch (message) {
        case WM_CREATE: return on_create(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
        case WM_PAINT: return on_paint(window);
        case WM_TIMER: return on_timer(window);
        case WM_ERASEBKGND: return 1;
        case WM_DESTROY: return on_destroy(window, message, wparam, lparam);
        case WM_NCDESTROY: return on_nc_destroy(window, message, wparam, lparam);
        }
        return DefWindowProcA(window, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

bool register_splash_class(HINSTANCE instance)
{
    WNDCLASSA window_class{};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = splash_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    window_class.lpszClassName = splash_window_class;
    return RegisterClassA(&window_class) != 0;
}

// The fade's timer messages, and whatever else arrives meanwhile, until the
// splash is opaque.
void pump_until_faded(const splash_screen& splash)
{
    MSG message;
    while (splash.splash_fading && splash.window) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            // The end came before the fade did: the main loop sees it too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// USER32 loaded for the fade's entry point and released when the fade ends.
class library_handle {
public:
    explicit library_handle(const char* name) : module_(LoadLibraryA(name)) {}
    library_handle(const library_handle&) = delete;
    library_handle& operator=(const library_handle&) = delete;
    ~library_handle()
    {
        if (module_)
            FreeLibrary(module_);
    }
    FARPROC entry(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

private:
    HMODULE module_;
};

}  // namespace

splash_screen::~splash_screen()
{
    if (window)
        DestroyWindow(window);
}

void splash_show(splash_screen& splash, HINSTANCE instance)
{
    splash.splash_image = load_picture_resource(instance, PICTURE_SPLASH);
    // Without its picture the splash could neither size nor paint itself.
    if (!splash.splash_image || splash.splash_image->type != PIXEL_BGR24 || !register_splash_class(instance)) {
        splash.splash_image.reset();
        return;
    }
    const library_handle user32("USER32.DLL");
    splash.set_layered_attributes = reinterpret_cast<set_layered_attributes_fn>(
        reinterpret_cast<void (*)()>(user32.entry("SetLayeredWindowAttributes")));
    CreateWindowExA(splash.set_layered_attributes ? WS_EX_LAYERED : 0, splash_window_class, "", WS_POPUPWINDOW, 100,
                    100, 100, 100, nullptr, nullptr, instance, &splash);
    if (!splash.window) {
        splash.splash_image.reset();
        return;
    }
    splash.splash_start_tick = GetTickCount();
    ShowWindow(splash.window, SW_SHOW);
    UpdateWindow(splash.window);
    if (splash.set_layered_attributes)
        pump_until_faded(splash);
}

void splash_close(splash_screen& splash)
{
    if (!splash.window)
        return;
    const DWORD elapsed = GetTickCount() - splash.splash_start_tick;
    if (elapsed < splash_minimum_ms)
        Sleep(splash_minimum_ms - elapsed);
    DestroyWindow(splash.window);
    splash.window = nullptr;
    splash.splash_image.reset();
}
