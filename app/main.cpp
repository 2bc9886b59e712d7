// The program's entry point: start-up, the message loop and the end.
#include <windows.h>
#include <commctrl.h>

#include "app/diag_log.h"
#include "app/main_window.h"
#include "app/scanning/scan_commands.h"
#include "loader/picture_roads.h"
#include "app/shell.h"
#include "imageio/imageio.h"
#include "raster/raster_image.h"

namespace {

int run_message_loop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The poster-size panel's edits get dialog keys (Tab between them)
        // while one of them has the focus.
        if (g_shell.dialog_panel && IsDialogMessageA(g_shell.dialog_panel, &message))
            continue;
        if (scanner_filter_message(message))
            continue;
        if (g_shell.tooltip_window)
            SendMessageA(g_shell.tooltip_window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    g_shell.instance = instance;
    const DWORD length = GetCurrentDirectoryA(sizeof g_shell.start_folder, g_shell.start_folder);
    if (length == 0 || length >= sizeof g_shell.start_folder)
        g_shell.start_folder[0] = '\0';
    kit_init();
    log_route_kit_messages();
    // Metafiles are drawn by the system's GDI, which only the program has.
    set_metafile_renderer(is_render_metafile);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS |
                     ICC_ANIMATE_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&controls);

    int exit_code = 0;
    if (register_main_window_class()) {
        HWND window = create_main_window();
        if (window) {
            BringWindowToTop(window);
            ShowWindow(window, show);
            UpdateWindow(window);
            exit_code = run_message_loop();
        }
    }
    kit_shutdown();
    return exit_code;
}
