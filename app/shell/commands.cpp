// The main window's command table.
#include "app/shell/commands.h"

#include "app/help/help_pages.h"
#include "app/options/options_dialog.h"
#include "app/page_setup/page_setup.h"
#include "app/poster_windows/extras_dialog.h"
#include "app/printing/print_command.h"
#include "app/shell/app_state.h"
#include "app/shell/open_picture.h"
#include "resources/resource_ids.h"

namespace {

// Options: after OK the panel shows the same poster in the chosen unit, and
// its unit labels with it; the layout stays as it is.
void options_command(tilora_app& app)
{
    bool metric = app.document.g_metric();
    if (!options_dialog(app.main_window, &metric))
        return;
    app.document.set_metric(metric);
    InvalidateRect(GetDlgItem(app.main_window, ID_POSTER_SIZE), nullptr, TRUE);
}

}  // namespace

bool dispatch_command(tilora_app& app, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case ID_OPEN:
        open_picture_command(app);
        return true;
    case ID_SCAN:
        app.scanner.scan(app.main_window);
        return true;
    case ID_SCAN_SELECT:
        app.scanner.select_source(app.main_window);
        return true;
    case ID_PAGE_SETUP:
        page_setup({app.main_window, &app.document, &app.printer, app.start_folder});
        return true;
    case ID_PRINT:
        print_command({app.main_window, &app.document, &app.printer, &app.print_margins});
        return true;
    case ID_WEB:
        open_url(app.main_window, home_page_url);
        return true;
    case ID_HELP:
        open_help_page(app.main_window, app.start_folder, help_introduction_page);
        return true;
    case ID_OPTIONS:
        options_command(app);
        return true;
    case ID_CROP:
        app.document.toggle_crop_mode();
        return true;
    case ID_UNCROP:
        app.document.reset_crop();
        return true;
    case ID_EXTRAS:
        extras_dialog(app.main_window, &app.document);
        return true;
    }
    return false;
}
