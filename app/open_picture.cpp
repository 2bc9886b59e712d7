// The Open dialog and opening a chosen or dropped file.
#include "app/open_picture.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "loader/load_picture.h"
#include "loader/open_filter.h"
#include "app/shell.h"
#include "poster/model_win.h"

namespace {

// The folder the Open dialog starts in: the pictures folder at first, then
// the folder of the last file opened. It lives for the run only.
char last_open_folder[MAX_PATH] = {};

bool special_folder_path(int folder, char (&path)[MAX_PATH])
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &list)) || !list)
        return false;
    const bool found = SHGetPathFromIDListA(list, path) && path[0] != '\0';
    CoTaskMemFree(list);
    return found;
}

void choose_first_folder()
{
    if (last_open_folder[0])
        return;
    if (!special_folder_path(CSIDL_MYPICTURES, last_open_folder) &&
        !special_folder_path(CSIDL_PERSONAL, last_open_folder))
        last_open_folder[0] = '\0';
}

// Keeps the drive and folder of path, with the trailing backslash.
void remember_folder_of(const char* path)
{
    const char* last_separator = std::strrchr(path, '\\');
    if (!last_separator)
        return;
    const size_t length = static_cast<size_t>(last_separator - path) + 1;
    if (length >= sizeof last_open_folder)
        return;
    std::memcpy(last_open_folder, path, length);
    last_open_folder[length] = '\0';
}

}  // namespace

void open_picture_command()
{
    choose_first_folder();
    const std::string filter = build_open_filter(format_table, format_table_rows);
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = g_shell.main_window;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = all_formats_index(format_table_rows);
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = last_open_folder;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog))
        return;
    remember_folder_of(path);
    // Repaint what the dialog covered before the load keeps the program busy.
    InvalidateRect(g_shell.main_window, nullptr, TRUE);
    UpdateWindow(g_shell.main_window);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    open_picture_file(path);
    SetCursor(previous);
}

void open_picture_file(const char* path)
{
    raster_image* image = load_picture(path, true);
    if (image) {
        install_picture(image);
        return;
    }
    MessageBoxA(g_shell.main_window, "Loading file failed", app_caption, MB_ICONWARNING | MB_OK);
}
