// The page setup dialog and its hook.
#include "app/page_setup/page_setup.h"

#include <commdlg.h>

#include <cstring>
#include <tuple>

#include "app/base/app_caption.h"
#include "app/base/window_class.h"
#include "app/help/help_pages.h"
#include "app/poster_windows/size_panel.h"
#include "poster/page_margins.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* margins_property = "immargins";

constexpr int margin_edits[4] = {IDC_MARGIN_LEFT, IDC_MARGIN_TOP, IDC_MARGIN_RIGHT, IDC_MARGIN_BOTTOM};

// What the hook works on. The margins record comes first, so that the
// dialog's custom data and the "immargins" property hold its address.
struct setup_context {
    margins_record margins;
    const char* start_folder;
};

int32_t* margin_field(margins_record& record, int index)
{
    int32_t* fields[4] = {&record.left, &record.top, &record.right, &record.bottom};
    return fields[index];
}

setup_context* context_of(HWND dialog)
{
    return static_cast<setup_context*>(GetPropA(dialog, margins_property));
}

void on_init_dialog(HWND dialog, const PRINTDLGA* print_dialog)
{
    auto* context = reinterpret_cast<setup_context*>(print_dialog->lCustData);
    // The system may call the hook both as setup and as print hook.
    if (!context || context_of(dialog))
        return;
    margins_record& record = context->margins;
    const double factor = margin_display_factor(record);
    for (int i = 0; i < 4; ++i)
        format_number(*margin_field(record, i) / factor, margin_edits[i], dialog);
    if (HWND group = GetDlgItem(dialog, IDC_MARGINS_GROUP)) {
        char text[128] = {};
        GetWindowTextA(group, text, sizeof text - 16);
        std::strcat(text, record.metric ? " (milimeters)" : " (inches)");
        SetWindowTextA(group, text);
    }
    SetPropA(dialog, margins_property, context);
}

void on_ok(HWND dialog)
{
    setup_context* context = context_of(dialog);
    if (!context)
        return;
    margins_record& record = context->margins;
    for (int i = 0; i < 4; ++i) {
        double number = 0;
        const bool typed = read_number(margin_edits[i], dialog, &number);
        int32_t* field = margin_field(record, i);
        *field = margin_from_entry(typed ? std::optional<double>(number) : std::nullopt, record, *field);
    }
    RemovePropA(dialog, margins_property);
}

// The hook of the print-setup dialog; 1 when it handled the message itself.
UINT_PTR CALLBACK setup_hook(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        if (message == WM_INITDIALOG) {
            on_init_dialog(dialog, reinterpret_cast<const PRINTDLGA*>(lparam));
            return 0;
        }
        if (message != WM_COMMAND)
            return 0;
        switch (LOWORD(wparam)) {
        case IDOK:
            on_ok(dialog);
            return 0;
        case IDCANCEL:
        case 3:
            RemovePropA(dialog, margins_property);
            return 0;
        case pshHelp:
            if (setup_context* context = context_of(dialog))
                open_help_page(dialog, context->start_folder, help_page_setup_page);
            return 1;
        }
        return 0;
    } catch (...) {
        return 0;
    }
}

// Why a tile cannot take the poster, in words for the user.
const char* refusal_message(layout_refusal refusal)
{
    if (refusal == layout_refusal::too_many_pages)
        return "On this paper with these margins the poster would need more than 10000 pages. "
               "Choose a larger paper or smaller margins.";
    return "These margins leave no room to print on the paper. Please make them smaller.";
}

}  // namespace

void page_setup(const page_setup_request& request)
{
    poster_document& document = *request.document;
    setup_context context = {margins_to_record(document.g_paper_margin(), document.g_metric()),
                             request.start_folder};

    // The dialog works on copies, so that a choice refused afterwards leaves
    // the printer exactly as it was.
    printer_handles chosen;
    chosen.reset(duplicate_global(request.printer->devmode()), duplicate_global(request.printer->devnames()));
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.main_window;
    std::tie(dialog.hDevMode, dialog.hDevNames) = chosen.release();
    // Some systems call only the print hook in print-setup mode: the same
    // hook is given as both. The Help button shows only when asked for.
    dialog.Flags = PD_PRINTSETUP | PD_ENABLESETUPHOOK | PD_ENABLESETUPTEMPLATE | PD_ENABLEPRINTHOOK | PD_SHOWHELP;
    dialog.nFromPage = 1;
    dialog.nToPage = 1;
    dialog.nCopies = 1;
    dialog.hInstance = window_instance(request.main_window);
    dialog.lCustData = reinterpret_cast<LPARAM>(&context);
    dialog.lpfnSetupHook = setup_hook;
    dialog.lpfnPrintHook = setup_hook;
    dialog.lpSetupTemplateName = MAKEINTRESOURCEA(IDD_PRINT_SETUP);
    const BOOL accepted = PrintDlgA(&dialog);
    chosen.reset(dialog.hDevMode, dialog.hDevNames);
    if (!accepted)
        return;

    const smm_rect margins = margins_from_record(context.margins);
    smm_size tile{};
    smm_rect unprintable{};
    if (!measure_printer(chosen.devnames(), chosen.devmode(), margins, &tile, &unprintable)) {
        MessageBoxA(request.main_window, "Printer not found.", app_caption, MB_OK | MB_ICONERROR);
        return;
    }
    const layout_refusal refusal = check_grid(document.g_poster(), tile);
    if (refusal != layout_refusal::none) {
        MessageBoxA(request.main_window, refusal_message(refusal), app_caption, MB_OK | MB_ICONWARNING);
        return;
    }
    request.printer->swap(chosen);
    document.set_page_setup(margins, tile);
}
