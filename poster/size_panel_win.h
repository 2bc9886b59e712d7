// The poster-size panel: two edits for the poster's width and height in the
// display unit, locked to the crop's aspect.
#pragma once
#include <windows.h>

enum : int {
    ID_POSTER_WIDTH = 111,
    ID_POSTER_HEIGHT = 112,
};

enum : int {
    POSTER_WIDTH = 1,
    POSTER_HEIGHT = 2,
    POSTER_BOTH = 3,
};

// Edits change the poster only once the model is ready for them.
extern bool panel_ready;

// Registers the window class and creates the panel as control id of parent.
HWND create_size_panel(HWND parent, int id, int x, int y, int width, int height);

// Reads the edit of one side (POSTER_WIDTH or POSTER_HEIGHT), sets the poster
// from it with the other side following the crop's aspect, and rewrites the
// other edit. True when the poster changed.
bool set_poster_from_edit(int which);

// Writes the poster's sides (a POSTER_* mask) into the edits in the display
// unit, without feeding the text back into the poster.
void show_poster_size(int mask);

// A number with two decimals and the user's decimal separator, into the edit
// of the given id.
void format_number(double value, int edit_id, HWND window);
// The number in the edit; false for an empty text or one without a number.
bool read_number(int edit_id, HWND window, double* value);
