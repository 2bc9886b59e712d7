// The program's entry point: start-up, the message loop and the end.
#include <windows.h>
#include <commctrl.h>

#include "app/diagnostics/diag_log.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/splash/splash_screen.h"
#include "imageio/imageio.h"
#include "loader/picture_roads.h"
#include "raster/raster_image.h"

namespace {

int run_message_loop(tilora_app& app)
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The poster-size panel's edits get dialog keys (Tab between them)
        // while one of them has the focus.
        if (app.dialog_panel && IsDialogMessageA(app.dialog_panel, &message))
            continue;
        // The scanner source's events belong to the source.
        if (app.scanner.filter_message(message))
            continue;
        if (app.tooltip_window)
            SendMessageA(app.tooltip_window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

// The main window and its loop; the program's state lives as long as they.
// The splash covers the time the main window takes to build itself.
int run_program(HINSTANCE instance, int show)
{
    tilora_app app;
    app.instance = instance;
    const DWORD length = GetCurrentDirectoryA(sizeof app.start_folder, app.start_folder);
    if (length == 0 || length >= sizeof app.start_folder)
        app.start_folder[0] = '\0';
    splash_screen splash;
    splash_show(splash, instance);
    HWND window = register_main_window_class(instance) ? create_main_window(app) : nullptr;
    splash_close(splash);
    if (!window)
        return 0;
    BringWindowToTop(window);
    ShowWindow(window, show);
    UpdateWindow(window);
    return run_message_loop(app);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    kit_init();
    log_route_kit_messages();
    // Metafiles are drawn by the system's GDI, which only the program has.
    set_metafile_renderer(is_render_metafile);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS |
                     ICC_ANIMATE_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&controls);

    const int exit_code = run_program(instance, show);
    kit_shutdown();
    return exit_code;
}
