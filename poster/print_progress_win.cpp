// The modeless "Printing" dialog, the message pump of the print job, its
// abort procedure and its progress callback.
#include "poster/print_progress_win.h"

#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/shell.h"
#include "app/window_guard.h"
#include "poster/paint_image_win.h"
#include "poster/print_job.h"

print_job_state g_print;

namespace {

// The shadow under the paper drawing lies this far right and down.
constexpr int shadow_offset = 10;

// The placeholder frame's rectangle in the dialog's client coordinates.
int_rect frame_rect(HWND dialog)
{
    HWND frame = GetDlgItem(dialog, IDC_PAPER_FRAME);
    RECT r{};
    if (!frame)
        return {0, 0, 0, 0};
    GetWindowRect(frame, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

INT_PTR on_init_dialog(HWND dialog)
{
    EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    ShowWindow(GetDlgItem(dialog, IDC_PAPER_FRAME), SW_HIDE);
    g_print.paper_drawing = paper_drawing_rect(frame_rect(dialog), g_print.paper);
    return TRUE;
}

INT_PTR on_paint(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (g_print.sheet_picture) {
        const int_rect& p = g_print.paper_drawing;
        const RECT shadow = {p.left + shadow_offset, p.top + shadow_offset, p.right + shadow_offset,
                             p.bottom + shadow_offset};
        FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        // The paint context's own pen and brush: a black outline, white inside.
        Rectangle(dc, p.left, p.top, p.right, p.bottom);
        paint_image(g_print.sheet_picture, dc, g_print.sheet_position.x, g_print.sheet_position.y);
    }
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR on_command(WPARAM wparam)
{
    // Cancel, also Esc: the job notices it at its next look at print_running.
    if (LOWORD(wparam) == IDCANCEL) {
        g_print.print_running = false;
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK progress_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(dialog);
        case WM_PAINT: return on_paint(dialog);
        case WM_COMMAND: return on_command(wparam);
        }
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

HWND open_progress_dialog(HWND owner)
{
    HWND dialog = CreateDialogParamA(g_shell.instance, MAKEINTRESOURCEA(IDD_PRINTING), owner, progress_dialog_proc, 0);
    if (dialog)
        ShowWindow(dialog, SW_SHOW);
    return dialog;
}

void pump_messages()
{
    MSG message;
    while (g_print.progress_dialog && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // A quit request belongs to the main loop, which ends once the job
        // has returned.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (g_print.progress_dialog && IsDialogMessageA(g_print.progress_dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void show_stage(const char* stage, double fraction)
{
    if (!g_print.progress_dialog)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "%s %.01f%%", stage, fraction * 100.0);
    SetDlgItemTextA(g_print.progress_dialog, IDC_STAGE, text);
}

BOOL CALLBACK print_abort_proc(HDC, int)
{
    if (g_print.progress_dialog)
        pump_messages();
    return g_print.print_running;
}

bool resize_progress(double fraction, int)
{
    if (g_print.progress_dialog) {
        show_stage("Resizing", fraction);
        pump_messages();
    }
    return g_print.print_running;
}

void set_sheet_picture(raster_image* part, int_point position)
{
    image_free(g_print.sheet_picture);
    g_print.sheet_picture = part;
    g_print.sheet_position = position;
    if (!g_print.progress_dialog)
        return;
    const int_rect& p = g_print.paper_drawing;
    const RECT area = {p.left, p.top, p.right + shadow_offset, p.bottom + shadow_offset};
    InvalidateRect(g_print.progress_dialog, &area, FALSE);
    UpdateWindow(g_print.progress_dialog);
}
