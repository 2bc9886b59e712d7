// Window classes of the program's own child windows.
#include "app/base/window_class.h"

bool ensure_child_class(HINSTANCE instance, const char* name, WNDPROC procedure)
{
    WNDCLASSA window_class{};
    if (GetClassInfoA(instance, name, &window_class))
        return true;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.lpszClassName = name;
    return RegisterClassA(&window_class) != 0;
}

HWND create_child_window(const char* class_name, HWND parent, int id, int x, int y, int width, int height,
                         void* params)
{
    return CreateWindowExA(0, class_name, nullptr, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), window_instance(parent), params);
}

HINSTANCE window_instance(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}
