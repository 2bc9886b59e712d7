// The printer as the poster model sees it: device contexts from DEVNAMES and
// DEVMODE handles, the printable tile, and the paper's name.
#pragma once
#include <windows.h>

#include <string>

#include "poster/geometry.h"

// A device context for the printer the handles name; null when devnames is
// null or cannot be locked. devmode may be null (the driver's defaults).
HDC create_printer_dc(HGLOBAL devnames, HGLOBAL devmode);

// True when the driver reports the same horizontal physical offset in
// portrait and landscape, so that in landscape the offsets must be exchanged.
bool needs_offset_swap(HGLOBAL devnames, HGLOBAL devmode);

// The eight capabilities measure_print_area needs.
device_caps read_device_caps(HDC dc);

// Measures the printer's tile with the given margins. False when no device
// context can be made or the device reports nonsense.
bool measure_printer(HGLOBAL devnames, HGLOBAL devmode, const smm_rect& margins, smm_size* print_size,
                     smm_rect* unprintable);

// The printer's name for the DEVMODE's paper size; false when the spooler
// cannot list the printer's papers (the caller keeps its old name).
bool lookup_paper_name(HGLOBAL devnames, HGLOBAL devmode, std::string* name);
