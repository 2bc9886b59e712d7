// The Options dialog.
#include "app/options/options_dialog.h"

#include "app/base/window_class.h"
#include "resources/resource_ids.h"

namespace {

// The list's entries, in this order.
constexpr int entry_cm = 0;
constexpr int entry_inches = 1;

bool* metric_of(HWND dialog)
{
    return reinterpret_cast<bool*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR on_init_dialog(HWND dialog, LPARAM metric_parameter)
{
    SetWindowLongPtrA(dialog, DWLP_USER, metric_parameter);
    HWND units = GetDlgItem(dialog, IDC_UNITS);
    // The entries keep their order whatever the template says.
    SetWindowLongPtrA(units, GWL_STYLE, GetWindowLongPtrA(units, GWL_STYLE) & ~static_cast<LONG_PTR>(CBS_SORT));
    SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("cm"));
    SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("inches"));
    SendMessageA(units, CB_SETCURSEL, *metric_of(dialog) ? entry_cm : entry_inches, 0);
    return TRUE;  // the system gives the first control the focus
}

INT_PTR on_command(HWND dialog, WPARAM wparam)
{
    // Notifications (the list opening, its selection changing) are not
    // commands of the dialog.
    if (HIWORD(wparam) != 0)
        return FALSE;
    switch (LOWORD(wparam)) {
    case IDOK: {
        const LRESULT entry = SendDlgItemMessageA(dialog, IDC_UNITS, CB_GETCURSEL, 0, 0);
        if (entry == entry_cm || entry == entry_inches)
            *metric_of(dialog) = entry == entry_cm;
        EndDialog(dialog, 1);
        return TRUE;
    }
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK options_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
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

bool options_dialog(HWND owner, bool* metric)
{
    return DialogBoxParamA(window_instance(owner), MAKEINTRESOURCEA(IDD_OPTIONS), owner, options_dialog_proc,
                           reinterpret_cast<LPARAM>(metric)) == 1;
}
