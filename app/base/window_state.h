// A window's own state, kept in its user-data slot: made at creation, reached
// through the window by every message handler, and freed with the window.
#pragma once
#include <windows.h>

#include <memory>

// The state attached to window, or null before creation and after the end.
template <typename State>
State* window_state(HWND window)
{
    return reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Gives window ownership of state.
template <typename State>
State* attach_window_state(HWND window, std::unique_ptr<State> state)
{
    State* raw = state.release();
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
    return raw;
}

// Takes the state back from window (at WM_NCDESTROY), which frees it.
template <typename State>
std::unique_ptr<State> detach_window_state(HWND window)
{
    std::unique_ptr<State> state(window_state<State>(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return state;
}
