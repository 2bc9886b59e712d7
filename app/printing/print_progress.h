// The print job's state and its modeless "Printing" dialog: the printer, the
// quality, the page counter, the progress bar, the stage of the current page
// and a small drawing of the sheet with the printed part in place. The job
// runs on the one thread and pumps messages itself, so the dialog stays
// responsive and its Cancel reaches the job through print_running.
#pragma once
#include <windows.h>

#include "poster/geometry.h"
#include "raster/owned_image.h"

struct print_job_state {
    volatile bool print_running = false;   // cleared by Cancel and by a failed page
    HWND progress_dialog = nullptr;        // null while no job runs
    owned_image sheet_picture;             // the current page's part, as drawn in the dialog
    int_point sheet_position = {};         // its top-left corner in the dialog
    int_rect paper_drawing = {};           // where the dialog draws the paper
    smm_size paper = {};                   // the job's paper size
};

// The job that is running, or null. The printer's abort procedure and the
// resampler's progress callback take no parameter of the program's, so they
// reach the job through this.
print_job_state* running_job();
void set_running_job(print_job_state* job);

// Creates the modeless progress dialog of job, owned by owner; null when it
// cannot.
HWND open_progress_dialog(HWND owner, print_job_state* job);

// Removes and handles every pending message of the thread while the job's
// progress dialog exists; messages for the dialog go through its keyboard
// handling.
void pump_messages(print_job_state& job);

// "STAGE 12.5%" in the dialog's stage line; nothing without the dialog.
void show_stage(const print_job_state& job, const char* stage, double fraction);

// The printer's abort procedure: keeps the dialog alive while the printing
// system waits, and stops the job once Cancel was pressed.
BOOL CALLBACK print_abort_proc(HDC dc, int error);

// The resampler's progress callback for the job: shows "Resizing", pumps
// messages, and stops the resampling once Cancel was pressed.
bool resize_progress(double fraction, int reserved);

// Replaces the dialog's sheet picture by part (null clears it) at position,
// and repaints the paper drawing at once.
void set_sheet_picture(print_job_state& job, owned_image part, int_point position);
