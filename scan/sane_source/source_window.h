// The source's own window: the device, resolution, colour or grey, the scan
// area, Scan and Cancel, and a progress bar while the scanner works.
#pragma once
#include <windows.h>

class sane_source;

enum class source_window_mode {
    full,           // the whole interface
    progress_only,  // a scan the application started: progress and Cancel
    hidden,         // no indicators wanted
};

// The scan worker's reports: wParam is the scan's number, lParam the share
// done (0 to 100).
constexpr UINT WM_SOURCE_PROGRESS = WM_APP + 1;
constexpr UINT WM_SOURCE_DONE = WM_APP + 2;

// Control ids, for keyboard and test drivers alike.
enum : int {
    ID_SOURCE_DEVICE = 100,
    ID_SOURCE_RESOLUTION = 101,
    ID_SOURCE_MODE = 102,
    ID_SOURCE_LEFT = 103,
    ID_SOURCE_TOP = 104,
    ID_SOURCE_WIDTH = 105,
    ID_SOURCE_HEIGHT = 106,
    ID_SOURCE_PROGRESS = 107,
    ID_SOURCE_STATUS = 108,
};

constexpr const char* source_window_class = "TLRASANESOURCE";

HWND create_source_window(sane_source& source, HINSTANCE module, HWND owner, source_window_mode mode);
// The window class goes with the source, whose module may be unloaded.
void unregister_source_window(HINSTANCE module);
// A scan starts: the settings and Scan are disabled, the bar starts at 0.
void show_scanning(HWND window);
// The scan ended (or could not start): the settings come back, with the
// text as the status line.
void show_scan_ended(HWND window, const char* status);
