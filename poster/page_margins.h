// The paper margins as the page setup dialog shows and takes them: in
// millimetres (stored as smm) or in inches (passed as thousandths of an inch).
#pragma once
#include <optional>

#include "poster/geometry.h"

// The margins as the dialog carries them: smm when metric, else thousandths
// of an inch.
struct margins_record {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    uint8_t metric;
};

// The record for margins in smm: as they are when metric, else each
// MulDiv(value, 1000, 2540).
margins_record margins_to_record(const smm_rect& margins, bool metric);

// The margins in smm a record holds: as they are when metric, else each
// MulDiv(value, 2540, 1000).
smm_rect margins_from_record(const margins_record& record);

// Record units in one unit of display: 100 smm in a millimetre, 1000
// thousandths in an inch.
int32_t margin_display_factor(const margins_record& record);

// The widest margin taken: 100 m.
constexpr int32_t max_margin_smm = 10000000;

// A number typed into a margin's edit, in the record's units: a negative
// number becomes 0, any other is multiplied by the display factor and
// truncated (at most max_margin_smm); no number (nullopt) keeps the previous
// value.
int32_t margin_from_entry(std::optional<double> number, const margins_record& record, int32_t previous);
