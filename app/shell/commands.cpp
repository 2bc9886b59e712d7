// The main window's command table.
#include "app/shell/commands.h"

#include "app/page_setup/page_setup.h"
#include "app/poster_windows/extras_dialog.h"
#include "app/printing/print_command.h"
#include "app/shell/app_state.h"
#include "app/shell/open_picture.h"
#include "resources/resource_ids.h"

bool dispatch_command(tilora_app& app, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case ID_OPEN:
        open_picture_command(app);
        return true;
    case ID_PAGE_SETUP:
        page_setup({app.main_window, &app.document, &app.printer, app.start_folder});
        return true;
    case ID_CROP:
        app.document.toggle_crop_mode();
        return true;
    case ID_UNCROP:
        app.document.reset_crop();
        return true;
    case ID_PRINT:
        print_command({app.main_window, &app.document, &app.printer, &app.print_margins});
        return true;
    case ID_EXTRAS:
        extras_dialog(app.main_window, &app.document);
        return true;
    case ID_SCAN:
        app.scanner.scan(app.main_window);
        return true;
    case ID_SCAN_SELECT:
        app.scanner.select_source(app.main_window);
        return true;
    // The web page, help and the options have no action yet.
    case ID_WEB:
    case ID_HELP:
    case ID_OPTIONS:
        return true;
    }
    return false;
}
