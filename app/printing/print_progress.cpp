// The modeless "Printing" dialog, the message pump of the print job, its
// abort procedure and its progress callback.
#include "app/printing/print_progress.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/base/gdi.h"
#include "app/base/paint_image.h"
#include "app/base/window_class.h"
#include "poster/print_job.h"
#include "resources/resource_ids.h"

namespace {

// The one job that runs: the abort procedure and the resampler's callback
// have no parameter to carry it.
print_job_state* current_job = nullptr;

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

print_job_state* job_of(HWND dialog)
{
    return reinterpret_cast<print_job_state*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR on_init_dialog(HWND dialog, LPARAM job_parameter)
{
    auto* job = reinterpret_cast<print_job_state*>(job_parameter);
    SetWindowLongPtrA(dialog, DWLP_USER, job_parameter);
    EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    ShowWindow(GetDlgItem(dialog, IDC_PAPER_FRAME), SW_HIDE);
    job->paper_drawing = paper_drawing_rect(frame_rect(dialog), job->paper);
    return TRUE;
}

INT_PTR on_paint(HWND dialog)
{
    const print_job_state* job = job_of(dialog);
    paint_session paint(dialog);
    HDC dc = paint.dc();
    if (job && job->sheet_picture) {
        const int_rect& p = job->paper_drawing;
        const RECT shadow = {p.left + shadow_offset, p.top + shadow_offset, p.right + shadow_offset,
                             p.bottom + shadow_offset};
        FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        // The paint context's own pen and brush: a black outline, white inside.
        Rectangle(dc, p.left, p.top, p.right, p.bottom);
        paint_image(job->sheet_picture.get(), dc, job->sheet_position.x, job->sheet_position.y);
    }
    return TRUE;
}

INT_PTR on_command(HWND dialog, WPARAM wparam)
{
    // Cancel, also Esc: the job notices it at its next look at print_running.
    print_job_state* job = job_of(dialog);
    if (LOWORD(wparam) == IDCANCEL && job) {
        job->print_running = false;
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK progress_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(dialog, lparam);
        case WM_PAINT: return on_paint(dialog);
        case WM_COMMAND: return on_command(dialog, wparam);
        }
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

print_job_state* running_job()
{
    return current_job;
}

void set_running_job(print_job_state* job)
{
    current_job = job;
}

HWND open_progress_dialog(HWND owner, print_job_state* job)
{
    HWND dialog = CreateDialogParamA(window_instance(owner), MAKEINTRESOURCEA(IDD_PRINTING), owner,
                                     progress_dialog_proc, reinterpret_cast<LPARAM>(job));
    if (dialog)
        ShowWindow(dialog, SW_SHOW);
    return dialog;
}

void pump_messages(print_job_state& job)
{
    MSG message;
    while (job.progress_dialog && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // A quit request belongs to the main loop, which ends once the job
        // has returned.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (job.progress_dialog && IsDialogMessageA(job.progress_dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void show_stage(const print_job_state& job, const char* stage, double fraction)
{
    if (!job.progress_dialog)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "%s %.01f%%", stage, fraction * 100.0);
    SetDlgItemTextA(job.progress_dialog, IDC_STAGE, text);
}

BOOL CALLBACK print_abort_proc(HDC, int)
{
    if (!current_job)
        return FALSE;
    if (current_job->progress_dialog)
        pump_messages(*current_job);
    return current_job->print_running;
}

bool resize_progress(double fraction, int)
{
    if (!current_job)
        return false;
    if (current_job->progress_dialog) {
        show_stage(*current_job, "Resizing", fraction);
        pump_messages(*current_job);
    }
    return current_job->print_running;
}

void set_sheet_picture(print_job_state& job, owned_image part, int_point position)
{
    job.sheet_picture = std::move(part);
    job.sheet_position = position;
    if (!job.progress_dialog)
        return;
    const int_rect& p = job.paper_drawing;
    const RECT area = {p.left, p.top, p.right + shadow_offset, p.bottom + shadow_offset};
    InvalidateRect(job.progress_dialog, &area, FALSE);
    UpdateWindow(job.progress_dialog);
}
