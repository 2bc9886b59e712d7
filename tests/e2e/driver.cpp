// Test driver for the end-to-end tests: a Windows program run in the same Wine
// prefix as the program under test, which finds its windows and talks to them
// with window messages, and reads the registry and the printer set-up the
// program sees. One subcommand per run; results go to standard output.
// Exit status: 0 done, 1 not found or failed, 2 bad usage.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD MESSAGE_TIMEOUT_MS = 5000;
constexpr DWORD POLL_MS = 50;

struct Args {
    int count;
    char** values;
    const char* at(int i) const { return i < count ? values[i] : nullptr; }
};

int usage()
{
    std::fputs("usage: driver COMMAND ARGS...\n"
               "  wait-window CLASS [SECONDS]     wait-gone CLASS [SECONDS]\n"
               "  text CLASS [CHILD_ID]           rect CLASS [CHILD_ID]     client-rect CLASS [CHILD_ID]\n"
               "  children CLASS                  command CLASS ID          close CLASS\n"
               "  move CLASS X Y WIDTH HEIGHT     drop CLASS X Y PATH...\n"
               "  find-dialog TITLE [SECONDS]     click-dialog TITLE BUTTON_ID\n"
               "  reg-query KEY VALUE             reg-set KEY VALUE TEXT    reg-delete KEY\n"
               "  printers                        printer-caps\n"
               "  folder CSIDL                    hold (runs until killed)\n"
               "  focus CLASS                     watch CLASS OTHER_CLASS [SECONDS]\n",
               stderr);
    return 2;
}

double seconds_arg(const char* text, double fallback)
{
    return text ? std::atof(text) : fallback;
}

// Polls until done() is true; false when the time is up first.
template <typename Done> bool wait_until(Done done, double seconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= DWORD(seconds * 1000))
            return false;
        Sleep(POLL_MS);
    }
}

HWND find_top(const char* window_class)
{
    HWND window = FindWindowA(window_class, nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
}

HWND find_dialog(const char* title)
{
    HWND window = FindWindowA("#32770", title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

struct descendant_search {
    int id;
    HWND found;
};

BOOL CALLBACK find_descendant(HWND candidate, LPARAM data)
{
    auto* search = reinterpret_cast<descendant_search*>(data);
    if (GetDlgCtrlID(candidate) != search->id)
        return TRUE;
    search->found = candidate;
    return FALSE;
}

// The top-level window of CLASS, or its child with CHILD_ID when one is given.
HWND find_target(const char* window_class, const char* child_id)
{
    HWND window = find_top(window_class);
    if (!window || !child_id)
        return window;
    const int id = std::atoi(child_id);
    if (HWND child = GetDlgItem(window, id))
        return child;
    // A control inside a child window (an edit of a panel) is found by its
    // id among all descendants.
    descendant_search search{id, nullptr};
    EnumChildWindows(window, find_descendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Window text through WM_GETTEXT, which Wine carries across processes
// (GetWindowText alone would not read another process's edit control).
std::string window_text(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, MESSAGE_TIMEOUT_MS, &length))
        return {};
    std::vector<char> buffer(length + 1);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, MESSAGE_TIMEOUT_MS, &copied);
    return std::string(buffer.data(), copied);
}

void print_rect(const RECT& r)
{
    std::printf("%ld %ld %ld %ld\n", long(r.left), long(r.top), long(r.right), long(r.bottom));
}

RECT client_rect_on_screen(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&r, origin.x, origin.y);
    return r;
}

// Keeps a text on one output line: backslash, tab, CR and LF are escaped.
std::string one_line(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

// One line per child: id, class, screen rectangle, visibility, text.
BOOL CALLBACK print_child(HWND child, LPARAM parent)
{
    if (GetParent(child) != reinterpret_cast<HWND>(parent))
        return TRUE;
    char class_name[128] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    RECT r;
    GetWindowRect(child, &r);
    std::printf("%d\t%s\t%ld %ld %ld %ld\t%d\t%s\n", GetDlgCtrlID(child), class_name, long(r.left), long(r.top),
                long(r.right), long(r.bottom), IsWindowVisible(child) ? 1 : 0, one_line(window_text(child)).c_str());
    return TRUE;
}

// An absolute Unix path becomes its Z: drive path; anything else is taken
// as a Windows path already.
std::string windows_path(const char* path)
{
    std::string result = path;
    if (result.empty() || result[0] != '/')
        return result;
    for (char& c : result)
        if (c == '/')
            c = '\\';
    return "Z:" + result;
}

// A DROPFILES block with wide paths, as the shell sends it: the header, each
// path with its terminator, and an empty path at the end.
std::vector<BYTE> drop_block(LONG x, LONG y, const std::vector<std::string>& paths)
{
    std::vector<WCHAR> names;
    for (const std::string& path : paths) {
        const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
        const size_t at = names.size();
        names.resize(at + size_t(length));
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, names.data() + at, length);
    }
    names.push_back(0);
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.pt = {x, y};
    header.fNC = FALSE;
    header.fWide = TRUE;
    std::vector<BYTE> block(sizeof header + names.size() * sizeof(WCHAR));
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, names.data(), names.size() * sizeof(WCHAR));
    return block;
}

// A global-memory handle cannot cross processes under Wine, so the block is
// written into the target's own address space and that pointer is posted;
// the target's DragQueryFile reads it like any fixed global block.
int drop_command(const Args& a)
{
    if (a.count < 6)
        return usage();
    HWND window = find_top(a.at(2));
    if (!window) {
        std::fprintf(stderr, "drop: no window of class %s\n", a.at(2));
        return 1;
    }
    std::vector<std::string> paths;
    for (int i = 5; i < a.count; ++i)
        paths.push_back(windows_path(a.at(i)));
    const std::vector<BYTE> block = drop_block(std::atoi(a.at(3)), std::atoi(a.at(4)), paths);
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_id);
    if (!process) {
        std::fprintf(stderr, "drop: cannot open process %lu\n", static_cast<unsigned long>(process_id));
        return 1;
    }
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    const bool ok = remote && WriteProcessMemory(process, remote, block.data(), block.size(), &written) &&
                    written == block.size();
    CloseHandle(process);
    if (!ok || !PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0)) {
        std::fprintf(stderr, "drop: cannot hand the drop block to the window\n");
        return 1;
    }
    return 0;
}

int window_command(const Args& a)
{
    const std::string name = a.at(1);
    const char* window_class = a.at(2);
    if (!window_class)
        return usage();
    if (name == "wait-window") {
        HWND window = nullptr;
        if (!wait_until([&] { return (window = find_top(window_class)) != nullptr; }, seconds_arg(a.at(3), 20)))
            return 1;
        std::printf("%p\n", static_cast<void*>(window));
        return 0;
    }
    if (name == "wait-gone")
        return wait_until([&] { return find_top(window_class) == nullptr; }, seconds_arg(a.at(3), 20)) ? 0 : 1;
    const bool takes_child = name == "text" || name == "rect" || name == "client-rect";
    HWND window = find_target(window_class, takes_child ? a.at(3) : nullptr);
    if (!window) {
        std::fprintf(stderr, "%s: no window of class %s\n", name.c_str(), window_class);
        return 1;
    }
    if (name == "text") {
        std::printf("%s\n", window_text(window).c_str());
    } else if (name == "rect") {
        RECT r;
        GetWindowRect(window, &r);
        print_rect(r);
    } else if (name == "client-rect") {
        print_rect(client_rect_on_screen(window));
    } else if (name == "children") {
        EnumChildWindows(window, print_child, reinterpret_cast<LPARAM>(window));
    } else if (name == "command") {
        if (!a.at(3))
            return usage();
        return PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(a.at(3)), 0), 0) ? 0 : 1;
    } else if (name == "close") {
        return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    } else if (name == "move") {
        if (a.count < 7)
            return usage();
        return SetWindowPos(window, nullptr, std::atoi(a.at(3)), std::atoi(a.at(4)), std::atoi(a.at(5)),
                            std::atoi(a.at(6)), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    } else {
        return usage();
    }
    return 0;
}

// find-dialog waits for the dialog and prints its children (a message box
// shows its text in a static child); click-dialog posts a button's click.
int dialog_command(const Args& a)
{
    const std::string name = a.at(1);
    const char* title = a.at(2);
    if (!title)
        return usage();
    if (name == "find-dialog") {
        HWND dialog = nullptr;
        if (!wait_until([&] { return (dialog = find_dialog(title)) != nullptr; }, seconds_arg(a.at(3), 10)))
            return 1;
        EnumChildWindows(dialog, print_child, reinterpret_cast<LPARAM>(dialog));
        return 0;
    }
    if (!a.at(3))
        return usage();
    HWND dialog = find_dialog(title);
    if (!dialog) {
        std::fprintf(stderr, "%s: no dialog titled %s\n", name.c_str(), title);
        return 1;
    }
    const int id = std::atoi(a.at(3));
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)))
               ? 0
               : 1;
}

// "HKCU\Software\..." into its root key and the path below it.
bool split_key(const char* text, HKEY& root, std::string& path)
{
    static const struct {
        const char* name;
        HKEY key;
    } roots[] = {{"HKCU", HKEY_CURRENT_USER}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                 {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}};
    const char* slash = std::strchr(text, '\\');
    const std::string head = slash ? std::string(text, slash) : std::string(text);
    for (const auto& r : roots) {
        if (head == r.name) {
            root = r.key;
            path = slash ? slash + 1 : "";
            return true;
        }
    }
    return false;
}

int registry_command(const Args& a)
{
    const std::string name = a.at(1);
    HKEY root;
    std::string path;
    if (!a.at(2) || !split_key(a.at(2), root, path))
        return usage();
    if (name == "reg-delete") {
        const LSTATUS status = RegDeleteTreeA(root, path.c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
    }
    if (!a.at(3))
        return usage();
    if (name == "reg-set") {
        if (!a.at(4))
            return usage();
        const DWORD size = DWORD(std::strlen(a.at(4)) + 1);
        return RegSetKeyValueA(root, path.c_str(), a.at(3), REG_SZ, a.at(4), size) == ERROR_SUCCESS ? 0 : 1;
    }
    if (name != "reg-query")
        return usage();
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueA(root, path.c_str(), a.at(3), RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS)
        return 1;
    std::vector<BYTE> data(size + 2);
    if (RegGetValueA(root, path.c_str(), a.at(3), RRF_RT_ANY, &type, data.data(), &size) != ERROR_SUCCESS)
        return 1;
    if (type == REG_DWORD)
        std::printf("%lu\n", static_cast<unsigned long>(*reinterpret_cast<DWORD*>(data.data())));
    else
        std::printf("%s\n", reinterpret_cast<const char*>(data.data()));
    return 0;
}

int printers_command()
{
    DWORD needed = 0;
    DWORD count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count))
        count = 0;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        std::printf("printer: %s\n", info[i].pPrinterName);
    char name[256] = {};
    DWORD size = sizeof name;
    if (GetDefaultPrinterA(name, &size))
        std::printf("default: %s\n", name);
    return 0;
}

// What a program gets for the default printer the way it asks for it at
// start-up: PrintDlg in return-default mode.
int printer_caps_command()
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog) || !dialog.hDC) {
        std::printf("no default printer\n");
        return 1;
    }
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dialog.hDevNames));
    const char* base = reinterpret_cast<const char*>(names);
    const std::string device = base + names->wDeviceOffset;
    const std::string port = base + names->wOutputOffset;
    GlobalUnlock(dialog.hDevNames);
    std::printf("device: %s\n", device.c_str());
    static const struct {
        const char* name;
        int index;
    } caps[] = {{"LOGPIXELSX", LOGPIXELSX},           {"LOGPIXELSY", LOGPIXELSY},
                {"PHYSICALWIDTH", PHYSICALWIDTH},     {"PHYSICALHEIGHT", PHYSICALHEIGHT},
                {"HORZRES", HORZRES},                 {"VERTRES", VERTRES},
                {"PHYSICALOFFSETX", PHYSICALOFFSETX}, {"PHYSICALOFFSETY", PHYSICALOFFSETY}};
    for (const auto& cap : caps)
        std::printf("%s: %d\n", cap.name, GetDeviceCaps(dialog.hDC, cap.index));
    std::printf("papers: %d\n", DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_PAPERS, nullptr, nullptr));
    DeleteDC(dialog.hDC);
    GlobalFree(dialog.hDevMode);
    GlobalFree(dialog.hDevNames);
    return 0;
}

// A special folder's path as the program would get it, e.g. 5 (the
// user's documents).
int folder_command(const Args& a)
{
    if (!a.at(2))
        return usage();
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, std::atoi(a.at(2)), nullptr, SHGFP_TYPE_CURRENT, path)))
        return 1;
    std::printf("%s\n", path);
    return 0;
}

// The control id of the window that has the keyboard focus in the thread of
// the top-level window of CLASS (0 for the window itself).
int focus_command(const Args& a)
{
    HWND window = a.at(2) ? find_top(a.at(2)) : nullptr;
    if (!window)
        return a.at(2) ? 1 : usage();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        return 1;
    std::printf("%d\n", info.hwndFocus == window ? 0 : GetDlgCtrlID(info.hwndFocus));
    return 0;
}

// Follows a top-level window of CLASS from before it shows until it is gone,
// and a window of OTHER_CLASS until it shows, polling every 5 ms. Prints
// "ready" at once, then events with the milliseconds since then: "shown T",
// "alpha A T" whenever the layered alpha of CLASS changes, "other T" when
// OTHER_CLASS shows, "together T" when both were seen visible at once, and
// "gone T". Ends when CLASS is gone and OTHER_CLASS has shown.
int watch_command(const Args& a)
{
    const char* watched = a.at(2);
    const char* other = a.at(3);
    if (!watched || !other)
        return usage();
    const DWORD limit = DWORD(seconds_arg(a.at(4), 60) * 1000);
    const DWORD start = GetTickCount();
    std::printf("ready\n");
    std::fflush(stdout);
    auto event = [&](const char* what, long value) {
        if (value >= 0)
            std::printf("%s %ld %lu\n", what, value, static_cast<unsigned long>(GetTickCount() - start));
        else
            std::printf("%s %lu\n", what, static_cast<unsigned long>(GetTickCount() - start));
        std::fflush(stdout);
    };
    bool shown = false, gone = false, other_shown = false, together = false;
    int alpha = -1;
    while (GetTickCount() - start < limit) {
        HWND window = find_top(watched);
        if (window && !shown) {
            shown = true;
            event("shown", -1);
        }
        BYTE now_alpha = 0;
        DWORD flags = 0;
        if (window && GetLayeredWindowAttributes(window, nullptr, &now_alpha, &flags) && (flags & LWA_ALPHA) &&
            now_alpha != alpha) {
            alpha = now_alpha;
            event("alpha", alpha);
        }
        if (shown && !gone && !FindWindowA(watched, nullptr)) {
            gone = true;
            event("gone", -1);
        }
        const bool other_now = find_top(other) != nullptr;
        if (other_now && !other_shown) {
            other_shown = true;
            event("other", -1);
        }
        // The splash seen after the other window showed was up with it.
        if (other_now && !together && find_top(watched)) {
            together = true;
            event("together", -1);
        }
        if (gone && other_shown)
            return 0;
        Sleep(5);
    }
    return 1;
}

// Keeps the prefix's Wine server and background services up for a whole
// session, so that programs started and restarted during it never race
// with the prefix starting up or shutting down.
int hold_command()
{
    std::printf("holding\n");
    std::fflush(stdout);
    for (;;)
        Sleep(INFINITE);
}

} // namespace

int main(int argc, char** argv)
{
    const Args a{argc, argv};
    if (argc < 2)
        return usage();
    const std::string name = argv[1];
    int status;
    if (name == "drop")
        status = drop_command(a);
    else if (name == "find-dialog" || name == "click-dialog")
        status = dialog_command(a);
    else if (name.rfind("reg-", 0) == 0)
        status = registry_command(a);
    else if (name == "printers")
        status = printers_command();
    else if (name == "printer-caps")
        status = printer_caps_command();
    else if (name == "folder")
        status = folder_command(a);
    else if (name == "hold")
        status = hold_command();
    else if (name == "focus")
        status = focus_command(a);
    else if (name == "watch")
        status = watch_command(a);
    else
        status = window_command(a);
    std::fflush(stdout);
    return status;
}
