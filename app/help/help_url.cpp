// The address of a help page.
#include "app/help/help_url.h"

#include <algorithm>

std::string help_page_url(const std::string& start_folder, const std::string& relative_path)
{
    std::string path = start_folder;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    path += relative_path;
    std::replace(path.begin(), path.end(), '\\', '/');
    return "file://" + path;
}
