// The Print command and its confirmation dialog.
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>

#include <cstdio>

#include "app/shell.h"
#include "poster/model_win.h"
#include "poster/print_command_win.h"
#include "poster/print_progress_win.h"

namespace {

INT_PTR on_init_dialog(HWND dialog)
{
    if (g_model.printer_devmode) {
        if (auto* mode = static_cast<const DEVMODEA*>(GlobalLock(g_model.printer_devmode))) {
            char text[256];
            std::snprintf(text, sizeof text, "%.*s is ready to print %d page(s)",
                          static_cast<int>(sizeof mode->dmDeviceName), reinterpret_cast<const char*>(mode->dmDeviceName),
                          static_cast<int>(all_papers(g_model.pages)));
            GlobalUnlock(g_model.printer_devmode);
            SetDlgItemTextA(dialog, IDC_CONFIRM_TEXT, text);
        }
    }
    CheckDlgButton(dialog, IDC_PRINT_MARGINS, g_print.print_margins ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

INT_PTR on_command(HWND dialog, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case IDOK:
        g_print.print_margins = IsDlgButtonChecked(dialog, IDC_PRINT_MARGINS) == BST_CHECKED;
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK confirm_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(dialog);
        case WM_COMMAND: return on_command(dialog, wparam);
        }
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

bool confirm_print(HWND main_window)
{
    return DialogBoxParamA(g_shell.instance, MAKEINTRESOURCEA(IDD_PRINT), main_window, confirm_dialog_proc, 0) ==
           IDOK;
}

void print_command(HWND main_window)
{
    // The job logs the picture's size and crop and cuts pages out of it, so
    // it needs a picture whose layout can be made.
    if (!g_model.g_image ||
        check_layout(g_model.g_poster, g_model.g_page, crop_size()) != layout_refusal::none) {
        MessageBoxA(main_window, "Open a picture first.", app_caption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (g_print.progress_dialog)
        return;  // a job is running already
    if (confirm_print(main_window))
        run_print_job(main_window);
}
