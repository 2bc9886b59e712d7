// Painting a PIXEL_BGR24 raster image 1:1 onto a device context.
#pragma once
#include <windows.h>

#include "raster/raster_image.h"

// Paints image with its top-left corner at (x, y); returns what StretchDIBits
// returns (the scan lines copied, 0 on failure).
int paint_image(const raster_image* image, HDC dc, int x, int y);
