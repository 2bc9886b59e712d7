// Scoped holders for GDI objects and device contexts: each deletes or
// releases what it holds when it goes, so no path leaks a handle. A pen or
// brush must be deselected before it is deleted: declare the holder of the
// object before the selection that puts it into a context.
#pragma once
#include <windows.h>

#include <utility>

// A pen, brush, font or region, deleted with DeleteObject.
template <typename Handle>
class gdi_object {
public:
    gdi_object() = default;
    explicit gdi_object(Handle handle) : handle_(handle) {}
    gdi_object(gdi_object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    gdi_object& operator=(gdi_object&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    gdi_object(const gdi_object&) = delete;
    gdi_object& operator=(const gdi_object&) = delete;
    ~gdi_object() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset()
    {
        if (handle_)
            DeleteObject(handle_);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using owned_pen = gdi_object<HPEN>;
using owned_brush = gdi_object<HBRUSH>;
using owned_font = gdi_object<HFONT>;

// An object selected into a context for the holder's lifetime; the previous
// object of its kind is selected back at the end.
class selection {
public:
    selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    selection(const selection&) = delete;
    selection& operator=(const selection&) = delete;
    ~selection()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A device context made with CreateDC or CreateCompatibleDC, deleted with
// DeleteDC.
class owned_dc {
public:
    owned_dc() = default;
    explicit owned_dc(HDC dc) : dc_(dc) {}
    owned_dc(owned_dc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    owned_dc& operator=(owned_dc&& other) noexcept
    {
        if (this != &other) {
            if (dc_)
                DeleteDC(dc_);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    owned_dc(const owned_dc&) = delete;
    owned_dc& operator=(const owned_dc&) = delete;
    ~owned_dc()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
};

// A window's context from GetDC, given back with ReleaseDC.
class window_dc {
public:
    explicit window_dc(HWND window) : window_(window), dc_(GetDC(window)) {}
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    ~window_dc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// One WM_PAINT: BeginPaint now, EndPaint at the end.
class paint_session {
public:
    explicit paint_session(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    paint_session(const paint_session&) = delete;
    paint_session& operator=(const paint_session&) = delete;
    ~paint_session() { EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};
