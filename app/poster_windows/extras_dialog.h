// The Poster Extras dialog: seamless sheets, the glue band, labels, trim
// marks, the assembly sheet, the resolution meter with its warning
// thresholds, and sizing the poster by sheets.
#pragma once
#include <windows.h>

#include "poster/poster_document.h"

// Shows the dialog over owner; on OK the document takes the new settings
// (and, when sheets were given, the largest poster on them).
void extras_dialog(HWND owner, poster_document* document);
