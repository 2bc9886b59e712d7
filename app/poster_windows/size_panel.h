// The poster-size panel: two edits for the poster's width and height in the
// display unit, locked to the crop's aspect by the poster document.
#pragma once
#include <windows.h>

#include "poster/poster_document.h"

// Registers the window class and creates the panel as control id of parent,
// showing document's poster. While one of its edits has the focus the panel
// stores its handle in *dialog_panel, for the message loop's dialog keys.
HWND create_size_panel(HWND parent, int id, int x, int y, int width, int height, poster_document* document,
                       HWND* dialog_panel);

// Writes the poster's sides (a POSTER_* mask) into the panel's edits in the
// display unit, without feeding the text back into the document.
void show_poster_size(HWND panel, int mask);

// A number with two decimals and the user's decimal separator, into the edit
// of the given id.
void format_number(double value, int edit_id, HWND window);
// The number in the edit; false for an empty text or one without a number.
bool read_number(int edit_id, HWND window, double* value);

// Repaints the resolution meter under the edits (shown when the document's
// craft asks for it).
void show_resolution(HWND panel);
