// The Print command and its confirmation dialog.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/base/app_caption.h"
#include "app/base/window_class.h"
#include "app/printing/print_command.h"
#include "app/printing/print_progress.h"
#include "poster/sheet_grid.h"
#include "resources/resource_ids.h"

namespace {

const print_request& request_of(HWND dialog)
{
    return *reinterpret_cast<const print_request*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR on_init_dialog(HWND dialog, LPARAM request_parameter)
{
    SetWindowLongPtrA(dialog, DWLP_USER, request_parameter);
    const print_request& request = request_of(dialog);
    if (HGLOBAL devmode = request.printer->devmode()) {
        if (auto* mode = static_cast<const DEVMODEA*>(GlobalLock(devmode))) {
            char text[256];
            std::snprintf(text, sizeof text, "%.*s is ready to print %d page(s)",
                          static_cast<int>(sizeof mode->dmDeviceName), reinterpret_cast<const char*>(mode->dmDeviceName),
                          static_cast<int>(all_papers(request.document->pages())));
            GlobalUnlock(devmode);
            SetDlgItemTextA(dialog, IDC_CONFIRM_TEXT, text);
        }
    }
    CheckDlgButton(dialog, IDC_PRINT_MARGINS, *request.print_margins ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

INT_PTR on_command(HWND dialog, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case IDOK:
        *request_of(dialog).print_margins = IsDlgButtonChecked(dialog, IDC_PRINT_MARGINS) == BST_CHECKED;
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK confirm_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(dialog, lparam);
        case WM_COMMAND: return on_command(dialog, wparam);
        }
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

// Asks before a blurry print when the user wants to be warned; true to go
// on.
bool resolution_acceptable(const print_request& request)
{
    const poster_document& document = *request.document;
    const std::optional<resolution_report> meter = document.resolution();
    if (!document.craft().resolution_warning || !meter || meter->level == resolution_level::good)
        return true;
    const std::string text = "The picture has only " +
                             resolution_long_text(*meter, document.g_metric(), document.craft().low_ppi) +
                             "\n\nPrint anyway?";
    const UINT icon = meter->level == resolution_level::very_low ? MB_ICONWARNING : MB_ICONQUESTION;
    return MessageBoxA(request.main_window, text.c_str(), app_caption, MB_YESNO | icon) == IDYES;
}

bool confirm_print(const print_request& request)
{
    return DialogBoxParamA(window_instance(request.main_window), MAKEINTRESOURCEA(IDD_PRINT), request.main_window,
                           confirm_dialog_proc, reinterpret_cast<LPARAM>(&request)) == IDOK;
}

void print_command(const print_request& request)
{
    // The job logs the picture's size and crop and cuts pages out of it, so
    // it needs a picture whose layout can be made.
    const poster_document& document = *request.document;
    if (!document.g_image() ||
        check_sheet_layout(document.g_poster(), document.g_page(), document.craft().overlap, document.crop_size()) !=
            layout_refusal::none) {
        MessageBoxA(request.main_window, "Open a picture first.", app_caption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (running_job())
        return;  // a job is running already
    if (resolution_acceptable(request) && confirm_print(request))
        run_print_job(request);
}
