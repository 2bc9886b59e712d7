// A small window program that the end-to-end harness drives in its own tests:
// an edit and a button to prove real mouse and keyboard input, file drops,
// a painted square to prove screenshots, and a one-page print job on the
// default printer to prove the private print queue.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

constexpr int ID_EDIT = 200;
constexpr int ID_BUTTON = 201;
constexpr int CMD_PRINT = 202;
constexpr int CMD_CHECK_PRINTER = 203;

// Painted colours, checked by the tests on screenshots.
constexpr COLORREF BACKGROUND = RGB(0x20, 0x60, 0xA0);
constexpr COLORREF SQUARE = RGB(0xE0, 0x30, 0x20);
constexpr RECT SQUARE_RECT = {50, 100, 150, 200};

// Printed shapes in inches from the paper's printable origin, checked in the PDF.
constexpr COLORREF PRINT_RED = RGB(0xFF, 0x00, 0x00);
constexpr uint8_t PRINT_BLUE[3] = {0xFF, 0x00, 0x00}; // DIB bytes: blue, green, red

void set_title(HWND window, const std::string& text)
{
    SetWindowTextA(window, text.c_str());
}

// Returns the default printer's device context, or null when there is none.
HDC default_printer_dc()
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog))
        return nullptr;
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return dialog.hDC;
}

// A band sent one scan line at a time with SetDIBitsToDevice, the way a
// poster page reaches the printer.
bool print_band_by_lines(HDC dc, int left, int top, int width, int height)
{
    std::vector<uint8_t> row((size_t(width) * 3 + 3) & ~size_t(3));
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            row[size_t(x) * 3 + c] = PRINT_BLUE[c];
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    for (int y = 0; y < height; ++y) {
        if (SetDIBitsToDevice(dc, left, top + y, width, 1, 0, 0, 0, 1, row.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) != 1)
            return false;
    }
    return true;
}

// One page: a red rectangle 2 x 1 inches at (1, 1) inch, a blue band
// 2 x 0.5 inches at (1, 3) inches drawn line by line, and a line of text.
bool print_probe_page(HDC dc)
{
    const int dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
    const int dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "Tilora probe";
    if (StartDocA(dc, &doc) <= 0)
        return false;
    bool ok = StartPage(dc) > 0;
    if (ok) {
        HBRUSH red = CreateSolidBrush(PRINT_RED);
        const RECT box = {dpi_x, dpi_y, 3 * dpi_x, 2 * dpi_y};
        FillRect(dc, &box, red);
        DeleteObject(red);
        ok = print_band_by_lines(dc, dpi_x, 3 * dpi_y, 2 * dpi_x, dpi_y / 2);
        const char text[] = "Tilora probe page";
        TextOutA(dc, dpi_x, 4 * dpi_y, text, int(sizeof text - 1));
        ok = EndPage(dc) > 0 && ok;
    }
    ok = EndDoc(dc) > 0 && ok;
    return ok;
}

void print_command(HWND window)
{
    HDC dc = default_printer_dc();
    if (!dc) {
        set_title(window, "no printer");
        return;
    }
    const bool ok = print_probe_page(dc);
    DeleteDC(dc);
    set_title(window, ok ? "printed" : "print failed");
}

void check_printer_command(HWND window)
{
    HDC dc = default_printer_dc();
    if (!dc) {
        MessageBoxA(window, "Printer not found.", "Tilora", MB_OK | MB_ICONERROR);
        return;
    }
    DeleteDC(dc);
    set_title(window, "printer found");
}

// Title becomes the dropped paths joined by '|', so a test sees every path
// the drop block carried.
void drop_files(HWND window, HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::string title;
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        DragQueryFileA(drop, i, path, MAX_PATH);
        if (i)
            title += '|';
        title += path;
    }
    DragFinish(drop);
    set_title(window, title);
}

void paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(BACKGROUND);
    FillRect(dc, &client, background);
    DeleteObject(background);
    HBRUSH square = CreateSolidBrush(SQUARE);
    FillRect(dc, &SQUARE_RECT, square);
    DeleteObject(square);
    EndPaint(window, &ps);
}

LRESULT CALLBACK probe_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE: {
        const HINSTANCE instance = reinterpret_cast<CREATESTRUCTA*>(lparam)->hInstance;
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                        10, 10, 200, 24, window, reinterpret_cast<HMENU>(ID_EDIT), instance, nullptr);
        CreateWindowExA(0, "BUTTON", "Set", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        220, 10, 80, 24, window, reinterpret_cast<HMENU>(ID_BUTTON), instance, nullptr);
        DragAcceptFiles(window, TRUE);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case ID_BUTTON:
            SetDlgItemTextA(window, ID_EDIT, "clicked");
            break;
        case CMD_PRINT:
            print_command(window);
            break;
        case CMD_CHECK_PRINTER:
            check_printer_command(window);
            break;
        }
        return 0;
    case WM_DROPFILES:
        drop_files(window, reinterpret_cast<HDROP>(wparam));
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {320, 240};
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = probe_window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.lpszClassName = "TLRAPROBE";
    if (!RegisterClassA(&window_class))
        return 1;
    HWND window = CreateWindowExA(0, "TLRAPROBE", "Tilora probe", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  40, 40, 480, 360, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}
