// The Open dialog's filter text: one entry per picture format and a last
// entry, "All Formats", with every pattern.
#pragma once
#include <cstddef>
#include <string>

#include "loader/format_table.h"

// "description (patterns)", NUL, patterns, NUL for each row in order, then
// "All Formats", NUL, the patterns of all rows joined by ";", NUL, and the
// closing NUL.
std::string build_open_filter(const format_row* rows, size_t count);

// The 1-based index of the "All Formats" entry, to preselect it.
inline unsigned all_formats_index(size_t count)
{
    return static_cast<unsigned>(count + 1);
}
