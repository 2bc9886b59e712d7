// The main window's command table.
#include "app/commands.h"

#include "app/open_picture.h"
#include "app/scanning/scan_commands.h"
#include "app/shell.h"
#include "poster/model_win.h"
#include "poster/print_command_win.h"

bool dispatch_command(WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case ID_OPEN:
        open_picture_command();
        return true;
    case ID_UNCROP:
        reset_crop();
        return true;
    case ID_PRINT:
        print_command(g_shell.main_window);
        return true;
    case ID_SCAN:
        scan_command(g_shell.main_window);
        return true;
    case ID_SCAN_SELECT:
        scan_select_command(g_shell.main_window);
        return true;
    // Page setup, cropping, the web page, help and the options have no
    // action yet.
    case ID_PAGE_SETUP:
    case ID_WEB:
    case ID_HELP:
    case ID_OPTIONS:
    case ID_CROP:
        return true;
    }
    return false;
}
