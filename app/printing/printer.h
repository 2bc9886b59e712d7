// The chosen printer: its DEVMODE and DEVNAMES handles, device contexts made
// from them, the printable tile and the paper's name.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

#include "app/base/gdi.h"
#include "poster/geometry.h"

// The printer's handles as the common print dialog returns them, freed with
// the holder.
class printer_handles {
public:
    printer_handles() = default;
    printer_handles(const printer_handles&) = delete;
    printer_handles& operator=(const printer_handles&) = delete;
    ~printer_handles() { reset(nullptr, nullptr); }

    HGLOBAL devmode() const { return devmode_; }
    HGLOBAL devnames() const { return devnames_; }
    // Takes new handles, freeing the old ones that are not among them.
    void reset(HGLOBAL devmode, HGLOBAL devnames);
    // Gives the handles away (to a dialog that may replace them); the holder
    // is empty afterwards.
    std::pair<HGLOBAL, HGLOBAL> release();
    void swap(printer_handles& other) noexcept
    {
        std::swap(devmode_, other.devmode_);
        std::swap(devnames_, other.devnames_);
    }

private:
    HGLOBAL devmode_ = nullptr;
    HGLOBAL devnames_ = nullptr;
};

// A copy of a movable global memory block; null for null or when memory is
// short.
HGLOBAL duplicate_global(HGLOBAL block);

// The system's default printer, without showing anything; empty handles
// when there is none.
void fetch_default_printer(printer_handles& printer);

// A device context for the printer the handles name; empty when devnames is
// null or cannot be locked. devmode may be null (the driver's defaults).
owned_dc create_printer_dc(HGLOBAL devnames, HGLOBAL devmode);

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

// Whether the DEVMODE asks for landscape; false without one.
bool printer_landscape(HGLOBAL devmode);
