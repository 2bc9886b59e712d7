// The picture formats the program offers in its Open dialog, and the
// file-name extension test that gates which files it tries to read.
#pragma once

struct format_row {
    const char* description;
    const char* patterns;  // "*.ext" patterns separated by ";"
};

constexpr int format_table_rows = 11;
extern const format_row format_table[format_table_rows];

// True when the path's extension (from the last "." of its file name,
// compared in lower case) is one of the table's patterns, or when the file
// name has no extension at all: such a file is identified by content alone.
bool extension_accepted(const char* path);
