// Scanning from the main window: the scanner object, its share of the
// message loop, and the Scan and Scan Select commands.
#pragma once
#include <windows.h>

// Creates the scanner object and opens the source manager with the main
// window as parent; without a manager there is no scanner object.
void scanner_create(HWND main_window);
// Closes the source and the manager (at shut-down).
void scanner_destroy();
// True when the message was the scanner source's own event, which the
// message loop must then neither translate nor dispatch.
bool scanner_filter_message(MSG& message);

// Scan: opens the chosen (or the default) source and shows its interface;
// each picture it delivers becomes the working picture.
void scan_command(HWND main_window);
// Scan Select: the source manager's list of sources.
void scan_select_command(HWND main_window);
