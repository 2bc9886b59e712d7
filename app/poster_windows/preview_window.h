// The preview: the page grid with the poster picture on it, pages switched
// off crossed out, and a status strip with the page count and paper name.
#pragma once
#include <windows.h>

#include "poster/poster_document.h"

// Registers the window class and creates the preview of document as control
// id of parent, at (0, 0) and 300 x 300 until the parent lays it out.
HWND create_preview_window(HWND parent, int id, poster_document* document);

// Ends a crop drag in progress as its button's release does: the band
// becomes the crop. Nothing when no drag is in progress.
void end_crop_drag(HWND preview);
