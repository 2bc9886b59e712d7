// The poster craft's settings: registry values of their own beside the five
// of the unit and margins, in the same key. A program whose user never
// changed the craft writes none of them.
#pragma once
#include "poster/poster_craft.h"

struct stored_craft {
    poster_craft craft;
    bool stored = false;  // some craft value was in the registry
};

// "seamless", "overlap" (smm), "sheetLabels", "trimMarks", "assemblySheet",
// "showResolution", "resolutionWarning", "lowPpi", "veryLowPpi"; each missing
// one keeps its default.
stored_craft load_craft_settings();

// Writes them all when they were stored before or differ from the defaults.
void save_craft_settings(const poster_craft& craft, bool stored_before);
