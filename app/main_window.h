// The main window: the button column, the poster-size panel, the preview and
// the three buttons at the top right, over a tiled background with the logo.
#pragma once
#include <windows.h>

constexpr const char* main_window_class = "TLRAMAINFRAME";

bool register_main_window_class();
HWND create_main_window();

// Places the preview and the right-hand buttons for a client area of
// width x height; the left column never moves.
void layout_main_window(int width, int height);

// The background tile repeated over the client area and the logo at the
// top-left corner.
void paint_main_window(HDC dc);
