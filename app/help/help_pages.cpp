// Help pages through file URLs.
#include "app/help/help_pages.h"

#include <shellapi.h>

#include <string>

void open_help_page(HWND owner, const char* start_folder, const char* relative_path)
{
    std::string path = start_folder;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    path += relative_path;
    std::string url = "file://" + path;
    for (char& c : url)
        if (c == '\\')
            c = '/';
    open_url(owner, url.c_str());
}

void open_url(HWND owner, const char* url)
{
    ShellExecuteA(owner, nullptr, url, nullptr, "", SW_SHOWNORMAL);
}
