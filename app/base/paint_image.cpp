// Painting raster images as top-down 24-bit device-independent bitmaps.
#include "app/base/paint_image.h"

int paint_image(const raster_image* image, HDC dc, int x, int y)
{
    if (!image || image->type != PIXEL_BGR24)
        return 0;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = image->width;
    header.biHeight = -image->height;  // rows run top-down
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    // The kit pads every row to 4 bytes, as a DIB expects.
    const int previous_mode = SetStretchBltMode(dc, COLORONCOLOR);
    const int lines = StretchDIBits(dc, x, y, image->width, image->height, 0, 0, image->width, image->height,
                                    image->pixels, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    SRCCOPY);
    SetStretchBltMode(dc, previous_mode);
    return lines;
}
