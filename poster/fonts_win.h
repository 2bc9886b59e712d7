// Fonts of the program's own windows.
#pragma once
#include <windows.h>

// A font of the given face (empty for the system's choice), cell height and
// weight, in the character set of a memory device context's default font.
HFONT create_window_font(const char* face, int height, int weight, bool italic);
