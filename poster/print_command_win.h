// The Print command: the confirmation dialog, then the print job on the
// poster model's printer.
#pragma once
#include <windows.h>

// Asks for confirmation on main_window and, on Print, prints every selected
// page. Without a working picture the command is refused with a message.
void print_command(HWND main_window);

// The confirmation dialog; true when the user chose Print. Sets the
// "Print margins" choice on Print only.
bool confirm_print(HWND main_window);

// The job itself: every selected page of the grid to the printer, with the
// progress dialog up and the main window disabled until it ends.
void run_print_job(HWND main_window);
