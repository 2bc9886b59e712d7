// The address of a help page kept beside the program's start folder. Plain
// text work, built natively too for its test.
#pragma once
#include <string>

// "file://" followed by start_folder and relative_path joined as a path (a
// "\" between them unless start_folder ends with one), every "\" turned into
// "/": C:\Apps\Poster and help\introduction.htm give
// file://C:/Apps/Poster/help/introduction.htm.
std::string help_page_url(const std::string& start_folder, const std::string& relative_path);
