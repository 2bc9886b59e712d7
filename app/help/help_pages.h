// Pages the user reads in the default browser: the help pages installed in
// the "help" folder beside the start folder, and the maker's home page.
#pragma once
#include <windows.h>

// The maker's home page; the build may name another (TILORA_HOME_PAGE).
#ifndef TILORA_HOME_PAGE
#define TILORA_HOME_PAGE "https://tilora.example/r/?p=tilora124&m=home"
#endif
constexpr const char* home_page_url = TILORA_HOME_PAGE;

// The help pages the program opens, relative to the start folder.
constexpr const char* help_introduction_page = "help\\introduction.htm";
constexpr const char* help_page_setup_page = "help\\page_setup_dialog.htm";

// Hands a URL or file name to the shell's default action, owned by owner.
// A missing page or browser is the shell's to report.
void open_url(HWND owner, const char* url);

// Opens the page at relative_path beside start_folder through its file URL.
void open_help_page(HWND owner, const char* start_folder, const char* relative_path);
