// The Options dialog: the unit in which poster sizes and margins are shown
// and typed.
#pragma once
#include <windows.h>

// Shows the dialog modally, owned by owner, with *metric preselected
// ("cm" when true, "inches" when false). OK returns true with the chosen
// unit in *metric (a list without a selection leaves it); Cancel, Escape
// and the close box return false and leave *metric.
bool options_dialog(HWND owner, bool* metric);
