// Fonts and outlines shared by the program's own windows.
#include "app/base/fonts.h"

namespace {

BYTE default_charset()
{
    owned_dc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return DEFAULT_CHARSET;
    const int charset = GetTextCharset(dc.get());
    return charset >= 0 ? static_cast<BYTE>(charset) : DEFAULT_CHARSET;
}

}  // namespace

owned_font create_window_font(const char* face, int height, int weight, bool italic)
{
    return owned_font(CreateFontA(height, 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE, default_charset(),
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

void outline_rectangle(HDC dc, const RECT& rect, COLORREF color)
{
    owned_pen pen(CreatePen(PS_SOLID, 1, color));
    selection use_pen(dc, pen.get());
    selection no_fill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}
