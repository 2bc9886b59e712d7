// The program's shell state: the instance, the start folder, the main window
// and what it owns beside the poster model.
#pragma once
#include <windows.h>

#include "raster/raster_image.h"

struct shell_state {
    HINSTANCE instance = nullptr;
    char start_folder[MAX_PATH] = {};
    HWND main_window = nullptr;
    HWND tooltip_window = nullptr;
    // The poster-size panel while one of its edits has the focus; the message
    // loop then gives it dialog-style keyboard handling.
    HWND dialog_panel = nullptr;
    raster_image* background_tile = nullptr;
    raster_image* logo_image = nullptr;
};

extern shell_state g_shell;

// Control ids of the main window's children.
enum : int {
    ID_OPEN = 101,
    ID_SCAN = 102,
    ID_SCAN_SELECT = 103,
    ID_PAGE_SETUP = 104,
    ID_PRINT = 106,
    ID_WEB = 108,
    ID_HELP = 109,
    ID_OPTIONS = 110,
    ID_PREVIEW = 113,
    ID_CROP = 114,
    ID_UNCROP = 115,
    ID_POSTER_SIZE = 116,
};

// The caption of every message box the program shows.
constexpr const char* app_caption = "Tilora";
