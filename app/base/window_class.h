// Window classes of the program's own child windows.
#pragma once
#include <windows.h>

// Registers a class with the arrow cursor, no icon, no background brush and
// redraw on both axes, unless it exists already. False when registering fails.
bool ensure_child_class(HINSTANCE instance, const char* name, WNDPROC procedure);

// A visible child window of the class as control id of parent, in parent's
// instance; params reach the window's WM_CREATE as lpCreateParams.
HWND create_child_window(const char* class_name, HWND parent, int id, int x, int y, int width, int height,
                         void* params);

// The instance a window belongs to.
HINSTANCE window_instance(HWND window);
