// Fonts of the program's own windows.
#include "poster/fonts_win.h"

namespace {

BYTE default_charset()
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return DEFAULT_CHARSET;
    const int charset = GetTextCharset(dc);
    DeleteDC(dc);
    return charset >= 0 ? static_cast<BYTE>(charset) : DEFAULT_CHARSET;
}

}  // namespace

HFONT create_window_font(const char* face, int height, int weight, bool italic)
{
    return CreateFontA(height, 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE, default_charset(),
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}
