// The main window's command table.
#pragma once
#include <windows.h>

struct tilora_app;

// Performs the command whose id is the low word of wparam; the notification
// code in the high word is ignored. False for an id outside the table.
bool dispatch_command(tilora_app& app, WPARAM wparam);
