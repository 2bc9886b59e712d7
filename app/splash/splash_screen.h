// The splash: a borderless picture with the version, the notice line and the
// web address, shown while the main window builds itself. Where the system
// has layered windows it fades in; it stays on screen at least 3.5 seconds in
// all and is gone before the main window shows.
#pragma once
#include <windows.h>

#include "app/base/gdi.h"
#include "raster/owned_image.h"

constexpr const char* splash_window_class = "TLRAMAINFRAME_INTRO";
constexpr DWORD splash_minimum_ms = 3500;

using set_layered_attributes_fn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// One splash, owned by the start-up code; its window reaches it through its
// user-data slot.
struct splash_screen {
    owned_image splash_image;
    HWND window = nullptr;
    DWORD splash_start_tick = 0;
    set_layered_attributes_fn set_layered_attributes = nullptr;  // none without layered windows
    int splash_alpha_percent = 0;
    bool splash_fading = false;
    owned_font font;

    splash_screen() = default;
    splash_screen(const splash_screen&) = delete;
    splash_screen& operator=(const splash_screen&) = delete;
    // A splash still up goes at once.
    ~splash_screen();
};

// Shows the splash and returns once it is fully opaque (at once without
// layered windows). Without its picture or its window class there is no
// splash.
void splash_show(splash_screen& splash, HINSTANCE instance);

// Waits until the splash has been up 3.5 seconds, then removes it and frees
// its picture. Nothing happens when there is no splash.
void splash_close(splash_screen& splash);
