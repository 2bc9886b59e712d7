// The poster craft on the command line, shared by plan and pages: the glue
// band, seamless sheets, labels, trim marks, the assembly sheet, the
// resolution meter's thresholds and sizing the poster by sheets.
#pragma once
#include <string>

#include "poster/poster_craft.h"
#include "tools/cli/args.h"

struct craft_options {
    poster_craft craft;
    int32_t sheets_wide = 0;  // 0: not given
    int32_t sheets_high = 0;
    std::string paper_name;   // for the assembly sheet; empty: the paper's own name or size
    bool inches = false;      // lengths on the assembly sheet in inches
};

// The help lines of these options.
extern const char craft_options_help[];

// Takes one craft option at the cursor; true when it was one (a bad value is
// recorded in args.error).
bool take_craft_option(arg_cursor& args, craft_options& options);
