// The command buttons of the main window.
#pragma once
#include <windows.h>

// A visible push button as control id of parent, whose plate (the part the
// user sees) lies at (x, y) with the given size.
HWND create_command_button(HWND parent, int id, const char* text, int x, int y, int width, int height);

// Where the plate lies inside the button's window.
POINT button_face_offset(HWND button);
