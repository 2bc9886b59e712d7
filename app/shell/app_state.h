// The program's own state: one record, made by WinMain and handed to the main
// window at its creation, which owns the poster document, the printer and
// the pictures of the window's background.
#pragma once
#include <windows.h>

#include "app/base/app_caption.h"
#include "app/printing/printer.h"
#include "app/scanning/scan_commands.h"
#include "app/shell/document_host.h"
#include "poster/poster_document.h"
#include "raster/owned_image.h"

struct tilora_app {
    HINSTANCE instance = nullptr;
    char start_folder[MAX_PATH] = {};
    HWND main_window = nullptr;
    HWND tooltip_window = nullptr;
    // The poster-size panel while one of its edits has the focus; the message
    // loop then gives it dialog-style keyboard handling.
    HWND dialog_panel = nullptr;
    owned_image background_tile;
    owned_image logo_image;
    printer_handles printer;
    window_document_host document_host{this};
    poster_document document{&document_host};
    scanner_service scanner{&document};
    // Whether the craft settings were in the registry at start-up.
    bool craft_stored = false;
    // "Print margins" of the print dialog: lasts for the run.
    bool print_margins = false;
    // The folder the Open dialog starts in: the pictures folder at first,
    // then the folder of the last file opened.
    char last_open_folder[MAX_PATH] = {};
};
