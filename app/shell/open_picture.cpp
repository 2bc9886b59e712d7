// The Open dialog and opening a chosen or dropped file.
#include "app/shell/open_picture.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "app/shell/app_state.h"
#include "loader/load_picture.h"
#include "loader/open_filter.h"

namespace {

bool special_folder_path(int folder, char (&path)[MAX_PATH])
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &list)) || !list)
        return false;
    const bool found = SHGetPathFromIDListA(list, path) && path[0] != '\0';
    CoTaskMemFree(list);
    return found;
}

void choose_first_folder(char (&last_open_folder)[MAX_PATH])
{
    if (last_open_folder[0])
        return;
    if (!special_folder_path(CSIDL_MYPICTURES, last_open_folder) &&
        !special_folder_path(CSIDL_PERSONAL, last_open_folder))
        last_open_folder[0] = '\0';
}

// Keeps the drive and folder of path, with the trailing backslash.
void remember_folder_of(const char* path, char (&last_open_folder)[MAX_PATH])
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

void open_picture_command(tilora_app& app)
{
    choose_first_folder(app.last_open_folder);
    const std::string filter = build_open_filter(format_table, format_table_rows);
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = app.main_window;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = all_formats_index(format_table_rows);
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = app.last_open_folder;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog))
        return;
    remember_folder_of(path, app.last_open_folder);
    // Repaint what the dialog covered before the load keeps the program busy.
    InvalidateRect(app.main_window, nullptr, TRUE);
    UpdateWindow(app.main_window);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    open_picture_file(app, path);
    SetCursor(previous);
}

void open_picture_file(tilora_app& app, const char* path)
{
    owned_image image(load_picture(path, true));
    if (image) {
        app.document.install_picture(std::move(image));
        return;
    }
    MessageBoxA(app.main_window, "Loading file failed", app_caption, MB_ICONWARNING | MB_OK);
}
