// Window classes of the program's own child windows.
#pragma once
#include <windows.h>

// Registers a class with the arrow cursor, no icon, no background brush and
// redraw on both axes, unless it exists already. False when registering fails.
bool ensure_child_class(const char* name, WNDPROC procedure);

// A visible child window of the class as control id of parent.
HWND create_child_window(const char* class_name, HWND parent, int id, int x, int y, int width, int height);
