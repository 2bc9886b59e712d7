// The skinned button: a window of class TSPBUTTONCN that draws rendered
// faces instead of a system button, one per state (normal, under the
// pointer, pressed, pressed with the pointer moved off), with a caption
// picture on its plate. The window is larger than the plate by the face's
// shadow and shifted so that the plate lies where the caller asked. A click
// reaches the parent as WM_COMMAND (notification code 0), as from a push
// button.
#pragma once
#include <windows.h>

#include "raster/raster_image.h"

constexpr const char* skinned_button_class = "TSPBUTTONCN";
constexpr int button_plate_height = 26;

// A visible button as control id of parent, whose plate lies at (x, y) with
// the given width and a height of 26. The text names the button (the face
// shows a caption picture instead). background is the parent's background
// pattern, tiled from the parent's client origin, which the faces' soft edges
// blend into; it must outlive the button (null: a plain colour).
HWND button_create(HWND parent, int id, int x, int y, int width, const char* text, const raster_image* background);

// Moves the button with that id, without resizing it, so that its plate's
// top-left corner lies at (x, 12) in parent's client area.
void button_place_face(HWND parent, int id, int x);

// Where the plate's top-left corner lies inside the button's window.
POINT button_face_offset(HWND button);
