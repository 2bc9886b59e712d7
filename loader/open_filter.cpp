// The Open dialog's filter text.
#include "loader/open_filter.h"

std::string build_open_filter(const format_row* rows, size_t count)
{
    std::string filter;
    std::string all_patterns;
    for (size_t i = 0; i < count; ++i) {
        filter += rows[i].description;
        filter += " (";
        filter += rows[i].patterns;
        filter += ")";
        filter += '\0';
        filter += rows[i].patterns;
        filter += '\0';
        if (!all_patterns.empty())
            all_patterns += ';';
        all_patterns += rows[i].patterns;
    }
    filter += "All Formats";
    filter += '\0';
    filter += all_patterns;
    filter += '\0';
    filter += '\0';
    return filter;
}
