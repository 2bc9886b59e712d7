// The print job's shared state and its modeless "Printing" dialog: the
// printer, the quality, the page counter, the progress bar, the stage of the
// current page and a small drawing of the sheet with the printed part in
// place. The job runs on the one thread and pumps messages itself, so the
// dialog stays responsive and its Cancel reaches the job through
// print_running.
#pragma once
#include <windows.h>

#include "poster/geometry.h"
#include "raster/raster_image.h"

// Dialog templates and their controls.
enum : int {
    IDD_PRINTING = 128,
    IDD_PRINT = 129,
    IDI_PRINT = 123,
    IDC_PAPER_FRAME = 1005,
    IDC_PAGE_COUNTER = 1006,
    IDC_DOCUMENT_NAME = 1007,
    IDC_PROGRESS_BAR = 1008,
    IDC_PRINTER_NAME = 1009,   // the progress dialog's printer line
    IDC_PRINT_MARGINS = 1009,  // the confirmation dialog's check box
    IDC_QUALITY = 1010,
    IDC_CONFIRM_TEXT = 1018,
    IDC_STAGE = 1027,
    IDC_NOTE = 1028,
};

struct print_job_state {
    bool print_margins = false;            // "Print margins": lasts for the run
    volatile bool print_running = false;   // cleared by Cancel and by a failed page
    HWND progress_dialog = nullptr;        // null while no job runs
    raster_image* sheet_picture = nullptr; // the current page's part, as drawn in the dialog
    int_point sheet_position = {};         // its top-left corner in the dialog
    int_rect paper_drawing = {};           // where the dialog draws the paper
    smm_size paper = {};                   // the job's paper size
};

extern print_job_state g_print;

// Creates the modeless progress dialog owned by owner; null when it cannot.
HWND open_progress_dialog(HWND owner);

// Removes and handles every pending message of the thread while the progress
// dialog exists; messages for the dialog go through its keyboard handling.
void pump_messages();

// "STAGE 12.5%" in the dialog's stage line; nothing without the dialog.
void show_stage(const char* stage, double fraction);

// The printer's abort procedure: keeps the dialog alive while the printing
// system waits, and stops the job once Cancel was pressed.
BOOL CALLBACK print_abort_proc(HDC dc, int error);

// The resampler's progress callback for the job: shows "Resizing", pumps
// messages, and stops the resampling once Cancel was pressed.
bool resize_progress(double fraction, int reserved);

// Replaces the dialog's sheet picture by `part` (taking ownership; null
// clears it) at `position`, and repaints the paper drawing at once.
void set_sheet_picture(raster_image* part, int_point position);
