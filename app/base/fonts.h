// Fonts and outlines shared by the program's own windows.
#pragma once
#include <windows.h>

#include "app/base/gdi.h"

// A font of the given face (empty for the system's choice), cell height and
// weight, in the character set of a memory device context's default font.
owned_font create_window_font(const char* face, int height, int weight, bool italic);

// The outline of rect in a solid one-pixel pen of the colour; the inside is
// left as it is.
void outline_rectangle(HDC dc, const RECT& rect, COLORREF color);
