// The main window: the button column, the poster-size panel, the preview and
// the three buttons at the top right, over a tiled background with the logo.
#pragma once
#include <windows.h>

struct tilora_app;

constexpr const char* main_window_class = "TLRAMAINFRAME";

bool register_main_window_class(HINSTANCE instance);
// The main window of app, which it serves until it is destroyed.
HWND create_main_window(tilora_app& app);
