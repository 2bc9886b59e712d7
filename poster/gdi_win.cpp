// Drawing helpers shared by the program's own windows.
#include "poster/gdi_win.h"

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

void outline_rectangle(HDC dc, const RECT& rect, COLORREF color)
{
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}
