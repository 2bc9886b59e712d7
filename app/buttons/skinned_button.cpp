// The skinned button's window class: faces rendered at creation, composed
// over the parent's background at every move, and the state machine driven
// by the mouse (with capture) and the keyboard.
#include "app/buttons/skinned_button.h"

#include <windowsx.h>

#include <memory>

#include "app/base/gdi.h"
#include "app/base/paint_image.h"
#include "app/base/picture_resource.h"
#include "app/base/window_class.h"
#include "app/base/window_guard.h"
#include "app/base/window_state.h"
#include "face/button_faces.h"
#include "resources/resource_ids.h"

namespace {

struct button_data {
    button_faces faces;
    int32_t state = BUTTON_NORMAL;
    SIZE plate = {};                           // the nominal size the caller asked for
    const raster_image* background = nullptr;  // the parent's, not owned
    bool space_pressed = false;                // pressed by the space bar rather than the mouse
};

struct caption_row {
    int id;
    int32_t row;
};

constexpr caption_row caption_rows[] = {
    {ID_OPEN, 0}, {ID_SCAN, 1}, {ID_SCAN_SELECT, 2}, {ID_PAGE_SETUP, 3}, {ID_CROP, 4},
    {ID_UNCROP, 5}, {ID_PRINT, 6}, {ID_WEB, 8}, {ID_HELP, 9}, {ID_OPTIONS, 10},
    {ID_EXTRAS, 11},
};

constexpr int32_t print_hue = 344;
constexpr int32_t button_hue = 211;

button_data* data_of(HWND button)
{
    return window_state<button_data>(button);
}

// The caption row of a control id, or -1 for none.
int32_t caption_row_of(int id)
{
    for (const caption_row& c : caption_rows)
        if (c.id == id)
            return c.row;
    return -1;
}

// The system's button colour in the kit's order (blue in the low byte).
uint32_t plain_background()
{
    const COLORREF color = GetSysColor(COLOR_BTNFACE);
    return 0xFF000000u | uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 | GetBValue(color);
}

void set_state(HWND button, button_data& self, int32_t state)
{
    if (self.state == state)
        return;
    self.state = state;
    InvalidateRect(button, nullptr, FALSE);
}

bool pointer_inside(HWND button, LPARAM position)
{
    RECT client;
    GetClientRect(button, &client);
    const POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return PtInRect(&client, point) != FALSE;
}

void notify_parent(HWND button)
{
    const int id = GetDlgCtrlID(button);
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(button));
}

void release_capture(HWND button)
{
    if (GetCapture() == button)
        ReleaseCapture();
}

LRESULT on_create(HWND button, const CREATESTRUCTA* create)
{
    button_data* self = attach_window_state(button, std::make_unique<button_data>());
    self->background = static_cast<const raster_image*>(create->lpCreateParams);
    self->plate = {create->cx, create->cy};
    const int id = GetDlgCtrlID(button);
    const owned_image strip = load_picture_resource(window_instance(button), PICTURE_CAPTIONS);
    raster_image caption;
    const bool has_caption = caption_view(strip.get(), caption_row_of(id), &caption);
    // A button whose faces cannot be rendered stays a plain button of the
    // plate's size.
    if (!render_button_faces(create->cx, create->cy, id == ID_PRINT ? print_hue : button_hue,
                             has_caption ? &caption : nullptr, &self->faces))
        return 0;
    const raster_image* face = self->faces.face[BUTTON_NORMAL].get();
    SetWindowPos(button, nullptr, create->x - self->faces.face_x, create->y - self->faces.face_y, face->width,
                 face->height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    return 0;
}

LRESULT on_nc_destroy(HWND button, UINT message, WPARAM wparam, LPARAM lparam)
{
    detach_window_state<button_data>(button);
    return DefWindowProcA(button, message, wparam, lparam);
}

LRESULT on_move(HWND button, LPARAM position)
{
    button_data& self = *data_of(button);
    if (self.faces.face[BUTTON_NORMAL])
        compose_button_faces(&self.faces, self.background, GET_X_LPARAM(position), GET_Y_LPARAM(position),
                             plain_background());
    // What the move copied along belongs to the old place in the pattern.
    InvalidateRect(button, nullptr, FALSE);
    return 0;
}

LRESULT on_set_focus(HWND button)
{
    InvalidateRect(button, nullptr, FALSE);
    return 0;
}

LRESULT on_kill_focus(HWND button)
{
    button_data& self = *data_of(button);
    self.space_pressed = false;
    if (self.state != BUTTON_NORMAL) {
        self.state = BUTTON_NORMAL;
        release_capture(button);
    }
    InvalidateRect(button, nullptr, FALSE);
    return 0;
}

// The capture went elsewhere (another program came forward, a window took
// it): no press or hover can go on without it.
LRESULT on_capture_changed(HWND button, LPARAM new_owner)
{
    if (reinterpret_cast<HWND>(new_owner) != button && !data_of(button)->space_pressed)
        set_state(button, *data_of(button), BUTTON_NORMAL);
    return 0;
}

// A plain raised plate with the button's text, for a button without faces.
void paint_plain(HWND button, HDC dc, const RECT& client)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = client;
    DrawEdge(dc, &edge, data_of(button)->state >= BUTTON_PRESSED ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    char text[64] = {};
    GetWindowTextA(button, text, sizeof text);
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    {
        selection font(dc, GetStockObject(DEFAULT_GUI_FONT));
        RECT inside = client;
        DrawTextA(dc, text, -1, &inside, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    SetBkMode(dc, old_mode);
}

LRESULT on_paint(HWND button)
{
    const button_data& self = *data_of(button);
    paint_session paint(button);
    RECT client;
    GetClientRect(button, &client);
    const raster_image* composed = self.faces.composed[self.state].get();
    if (composed)
        paint_image(composed, paint.dc(), 0, 0);
    else
        paint_plain(button, paint.dc(), client);
    if (GetFocus() == button) {
        const POINT face = button_face_offset(button);
        RECT focus = {face.x, face.y, face.x + self.plate.cx, face.y + self.plate.cy};
        InflateRect(&focus, -3, -3);
        DrawFocusRect(paint.dc(), &focus);
    }
    return 0;
}

LRESULT on_mouse_move(HWND button, LPARAM position)
{
    button_data& self = *data_of(button);
    const bool inside = pointer_inside(button, position);
    switch (self.state) {
    case BUTTON_NORMAL:
        if (inside) {
            set_state(button, self, BUTTON_HOT);
            SetCapture(button);
        }
        break;
    case BUTTON_HOT:
        if (!inside) {
            set_state(button, self, BUTTON_NORMAL);
            release_capture(button);
        }
        break;
    case BUTTON_PRESSED:
        if (!inside)
            set_state(button, self, BUTTON_PRESSED_OUTSIDE);
        break;
    case BUTTON_PRESSED_OUTSIDE:
        if (inside)
            set_state(button, self, BUTTON_PRESSED);
        break;
    }
    return 0;
}

LRESULT on_left_button_down(HWND button)
{
    // A click leaves the keyboard with the main window (its keys, F5, keep
    // working); the focus reaches a button only by Tab.
    HWND parent = GetParent(button);
    if (GetFocus() != parent)
        SetFocus(parent);
    button_data& self = *data_of(button);
    self.space_pressed = false;
    set_state(button, self, BUTTON_PRESSED);
    SetCapture(button);
    return 0;
}

LRESULT on_left_button_up(HWND button, LPARAM position)
{
    button_data& self = *data_of(button);
    const int32_t was = self.state;
    set_state(button, self, BUTTON_NORMAL);
    release_capture(button);
    if (was == BUTTON_PRESSED && pointer_inside(button, position))
        notify_parent(button);
    return 0;
}

// Space presses and releases the focused button, Enter clicks it, Tab and
// Shift+Tab move to the next or previous button; every other key goes to the
// parent, as if it had the focus.
LRESULT on_key_down(HWND button, UINT message, WPARAM key, LPARAM flags)
{
    button_data& self = *data_of(button);
    HWND parent = GetParent(button);
    switch (key) {
    case VK_SPACE:
        if (self.state == BUTTON_NORMAL || self.state == BUTTON_HOT) {
            release_capture(button);
            self.space_pressed = true;
            set_state(button, self, BUTTON_PRESSED);
        }
        return 0;
    case VK_RETURN:
        notify_parent(button);
        return 0;
    case VK_TAB:
        if (HWND next = GetNextDlgTabItem(parent, button, GetKeyState(VK_SHIFT) < 0))
            SetFocus(next);
        return 0;
    }
    return SendMessageA(parent, message, key, flags);
}

LRESULT on_key_up(HWND button, WPARAM key)
{
    button_data& self = *data_of(button);
    if (key != VK_SPACE || !self.space_pressed)
        return 0;
    self.space_pressed = false;
    set_state(button, self, BUTTON_NORMAL);
    notify_parent(button);
    return 0;
}

LRESULT CALLBACK button_proc(HWND button, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_CREATE && !data_of(button))
        return DefWindowProcA(button, message, wparam, lparam);
    try {
        switch (message) {
        case WM_CREATE: return on_create(button, reinterpret_cast<const CREATESTRUCTA*>(lparam));
        case WM_NCDESTROY: return on_nc_destroy(button, message, wparam, lparam);
        case WM_MOVE: return on_move(button, lparam);
        case WM_SETFOCUS: return on_set_focus(button);
        case WM_KILLFOCUS: return on_kill_focus(button);
        case WM_CAPTURECHANGED: return on_capture_changed(button, lparam);
        case WM_PAINT: return on_paint(button);
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEMOVE: return on_mouse_move(button, lparam);
        case WM_LBUTTONDOWN: return on_left_button_down(button);
        case WM_LBUTTONUP: return on_left_button_up(button, lparam);
        case WM_KEYDOWN: return on_key_down(button, message, wparam, lparam);
        case WM_KEYUP: return on_key_up(button, wparam);
        }
        return DefWindowProcA(button, message, wparam, lparam);
    } catch (...) {
        return result_after_exception(message);
    }
}

}  // namespace

HWND button_create(HWND parent, int id, int x, int y, int width, const char* text, const raster_image* background)
{
    HINSTANCE instance = window_instance(parent);
    WNDCLASSA window_class{};
    if (!GetClassInfoA(instance, skinned_button_class, &window_class)) {
        window_class.style = CS_HREDRAW | CS_VREDRAW;
        window_class.lpfnWndProc = button_proc;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        window_class.lpszClassName = skinned_button_class;
        if (!RegisterClassA(&window_class))
            return nullptr;
    }
    return CreateWindowExA(0, skinned_button_class, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width,
                           button_plate_height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           const_cast<raster_image*>(background));
}

void button_place_face(HWND parent, int id, int x)
{
    HWND button = GetDlgItem(parent, id);
    if (!button)
        return;
    const POINT face = button_face_offset(button);
    SetWindowPos(button, nullptr, x - face.x, 12 - face.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT button_face_offset(HWND button)
{
    const button_data* self = data_of(button);
    if (!self || !self->faces.face[BUTTON_NORMAL])
        return {0, 0};
    return {self->faces.face_x, self->faces.face_y};
}
