// The local help pages and web addresses, opened by the shell's default
// action.
#pragma once
#include <windows.h>

// Opens the page at relative_path (e.g. "help\\introduction.htm") beside
// start_folder through a file URL.
void open_help_page(HWND owner, const char* start_folder, const char* relative_path);

// Hands a URL or file name to the shell's default action.
void open_url(HWND owner, const char* url);
