// The Poster Extras dialog.
#include "app/poster_windows/extras_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/base/app_caption.h"
#include "app/base/window_class.h"
#include "app/poster_windows/size_panel.h"
#include "poster/sheet_grid.h"
#include "resources/resource_ids.h"

namespace {

poster_document* document_of(HWND dialog)
{
    return reinterpret_cast<poster_document*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void set_check(HWND dialog, int id, bool on)
{
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// A whole number typed into an edit; empty_value when empty, -1 when no
// number.
int32_t whole_number(HWND dialog, int id, int32_t empty_value)
{
    char text[32] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    if (text[0] == '\0')
        return empty_value;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end != '\0' || value < 0 || value > 100000 ? -1 : static_cast<int32_t>(value);
}

void refuse(HWND dialog, const char* message, int focus)
{
    MessageBoxA(dialog, message, app_caption, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog, focus));
}

INT_PTR on_init_dialog(HWND dialog, LPARAM document_param)
{
    SetWindowLongPtrA(dialog, DWLP_USER, document_param);
    const poster_document& document = *document_of(dialog);
    const poster_craft& craft = document.craft();
    set_check(dialog, IDC_SEAMLESS, craft.seamless);
    format_number(static_cast<double>(craft.overlap) / smm_per_mm, IDC_OVERLAP, dialog);
    set_check(dialog, IDC_LABELS, craft.labels);
    set_check(dialog, IDC_TRIM_MARKS, craft.trim_marks);
    set_check(dialog, IDC_ASSEMBLY_SHEET, craft.assembly_sheet);
    set_check(dialog, IDC_SHOW_RESOLUTION, craft.show_resolution);
    set_check(dialog, IDC_RESOLUTION_WARNING, craft.resolution_warning);
    SetDlgItemInt(dialog, IDC_LOW_PPI, craft.low_ppi, FALSE);
    SetDlgItemInt(dialog, IDC_VERY_LOW_PPI, craft.very_low_ppi, FALSE);
    if (const std::optional<resolution_report> meter = document.resolution())
        SetDlgItemTextA(dialog, IDC_RESOLUTION_TEXT,
                        ("The picture has " + resolution_long_text(*meter, document.g_metric(), craft.low_ppi)).c_str());
    return TRUE;
}

void on_ok(HWND dialog)
{
    poster_document& document = *document_of(dialog);
    poster_craft craft = document.craft();
    double overlap_mm = 0;
    if (!read_number(IDC_OVERLAP, dialog, &overlap_mm) || overlap_mm < 0 ||
        overlap_mm * smm_per_mm > max_overlap_smm + 0.5)
        return refuse(dialog, "The glue band must lie between 0 and 30 mm.", IDC_OVERLAP);
    const int32_t low = whole_number(dialog, IDC_LOW_PPI, -1);
    const int32_t very_low = whole_number(dialog, IDC_VERY_LOW_PPI, -1);
    if (low < 1 || very_low < 1 || very_low > low || low > 10000)
        return refuse(dialog, "The resolution thresholds must be whole numbers from 1 to 10000, the strong one not "
                              "above the other.",
                      IDC_LOW_PPI);
    const int32_t across = whole_number(dialog, IDC_SHEETS_ACROSS, 0);
    const int32_t down = whole_number(dialog, IDC_SHEETS_DOWN, 0);
    if (across < 0 || down < 0 || across > 10000 || down > 10000)
        return refuse(dialog, "The sheets across and down must be whole numbers.", IDC_SHEETS_ACROSS);
    craft.seamless = checked(dialog, IDC_SEAMLESS);
    craft.overlap = static_cast<int32_t>(overlap_mm * smm_per_mm + 0.5);
    craft.labels = checked(dialog, IDC_LABELS);
    craft.trim_marks = checked(dialog, IDC_TRIM_MARKS);
    craft.assembly_sheet = checked(dialog, IDC_ASSEMBLY_SHEET);
    craft.show_resolution = checked(dialog, IDC_SHOW_RESOLUTION);
    craft.resolution_warning = checked(dialog, IDC_RESOLUTION_WARNING);
    craft.low_ppi = low;
    craft.very_low_ppi = very_low;
    const poster_craft before = document.craft();
    if (!document.set_craft(craft))
        return refuse(dialog, "The glue band must be narrower than the printable part of a sheet.", IDC_OVERLAP);
    if ((across > 0 || down > 0) && !document.size_by_sheets(across, down)) {
        // A refused OK keeps none of the dialog's choices, the craft neither.
        document.set_craft(before);
        return refuse(dialog, "No poster of the picture's shape fits those sheets.", IDC_SHEETS_ACROSS);
    }
    EndDialog(dialog, IDOK);
}

INT_PTR on_command(HWND dialog, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case IDOK:
        on_ok(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK extras_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG: return on_init_dialog(dialog, lparam);
    case WM_COMMAND: return on_command(dialog, wparam);
    }
    return FALSE;
}

}  // namespace

void extras_dialog(HWND owner, poster_document* document)
{
    DialogBoxParamA(window_instance(owner), MAKEINTRESOURCEA(IDD_EXTRAS), owner, extras_proc,
                    reinterpret_cast<LPARAM>(document));
}
