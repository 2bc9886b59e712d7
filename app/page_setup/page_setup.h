// The Page Setup command: the system's print-setup dialog with the program's
// margins group, choosing printer, paper, orientation and margins at once.
#pragma once
#include <windows.h>

#include "app/printing/printer.h"
#include "poster/poster_document.h"

struct page_setup_request {
    HWND main_window;
    poster_document* document;
    printer_handles* printer;
    const char* start_folder;  // where the help folder lies
};

// Shows the dialog. On OK the chosen printer, the margins and the tile
// measured on the printer go to the document; margins that leave no tile
// the poster can be laid out on are refused with a message, and Cancel
// changes nothing.
void page_setup(const page_setup_request& request);
