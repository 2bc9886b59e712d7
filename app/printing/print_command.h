// The Print command: the confirmation dialog, then the print job on the
// chosen printer.
#pragma once
#include <windows.h>

#include "app/printing/printer.h"
#include "poster/poster_document.h"

// What a print needs: the window that owns its dialogs, the poster, the
// printer, and the "Print margins" choice, which lasts for the run.
struct print_request {
    HWND main_window;
    const poster_document* document;
    const printer_handles* printer;
    bool* print_margins;
};

// Asks for confirmation and, on Print, prints every selected page. Without a
// working picture the command is refused with a message.
void print_command(const print_request& request);

// The confirmation dialog; true when the user chose Print. Sets the
// "Print margins" choice on Print only.
bool confirm_print(const print_request& request);

// The job itself: every selected page of the grid to the printer, with the
// progress dialog up and the main window disabled until it ends.
void run_print_job(const print_request& request);
