// The command buttons: standard push buttons whose window is their plate.
#include "app/shell/buttons.h"

#include "app/base/window_class.h"

HWND create_command_button(HWND parent, int id, const char* text, int x, int y, int width, int height)
{
    HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, width, height,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), window_instance(parent), nullptr);
    if (button)
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return button;
}

POINT button_face_offset(HWND)
{
    return {0, 0};
}
