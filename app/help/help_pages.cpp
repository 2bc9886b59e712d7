// Help pages and the home page, opened by the shell.
#include "app/help/help_pages.h"

#include <shellapi.h>

#include "app/help/help_url.h"

void open_url(HWND owner, const char* url)
{
    ShellExecuteA(owner, nullptr, url, nullptr, "", SW_SHOWNORMAL);
}

void open_help_page(HWND owner, const char* start_folder, const char* relative_path)
{
    open_url(owner, help_page_url(start_folder, relative_path).c_str());
}
