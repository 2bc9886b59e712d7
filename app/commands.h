// The main window's command table.
#pragma once
#include <windows.h>

// Performs the command whose id is the low word of wparam; the notification
// code in the high word is ignored. False for an id outside the table.
bool dispatch_command(WPARAM wparam);
