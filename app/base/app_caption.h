// The caption of every message box the program shows.
#pragma once

constexpr const char* app_caption = "Tilora";
