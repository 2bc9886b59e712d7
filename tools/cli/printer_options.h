// The printer as the command line describes it: a simulated sheet (paper,
// orientation, resolution, unprintable strips) measured like a real printer,
// or a tile given directly. Shared by the commands that lay out pages.
#pragma once
#include "poster/geometry.h"
#include "tools/cli/args.h"

#include <optional>

struct printer_options {
    smm_size paper = {21000, 29700};          // A4
    bool landscape = false;
    int32_t dpi = 600;
    smm_rect unprintable = {0, 0, 0, 0};
    smm_rect margins = {500, 500, 2000, 2000};
    std::optional<smm_size> tile;             // --tile, in smm
    std::optional<int_size> device_tile;      // --device-tile, in device pixels
};

// The help lines of these options.
extern const char printer_options_help[];

// Takes one printer option at the cursor; true when it was one (a bad value
// is recorded in args.error).
bool take_printer_option(arg_cursor& args, printer_options& options);

// A usage error in the combination of options, or null: --tile and
// --device-tile go together.
const char* printer_options_conflict(const printer_options& options);

// The device capabilities of the simulated printer: every length in smm
// becomes smm * dpi / 2540 device pixels, truncated.
device_caps simulate_device_caps(const printer_options& options);

// The device capabilities of the described printer's sheet: the simulated
// printer's, or, with a tile given, a sheet that is exactly the device tile
// at the given resolution, with no unprintable strips.
device_caps printer_device_caps(const printer_options& options);

// Whether the print job exchanges the simulated printer's physical offsets:
// it reports the same horizontal offset in portrait and landscape, like a
// driver that does not turn its offsets, so a landscape job exchanges them
// as the program does on such a printer.
bool printer_offsets_swapped(const printer_options& options);

// The print area of the described printer with its margins: measured on the
// simulated printer, or, with a tile given, that tile at the device origin
// with the margins around it. Nullopt when the measurement is refused.
std::optional<print_area> printer_print_area(const printer_options& options);
