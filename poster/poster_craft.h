// The poster's craft beyond the plain page grid, as the user sets it: seamless
// sheets, the glue band, labels, trim marks, the assembly sheet and the
// resolution meter; and what the meter and sizing by sheets work out.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "poster/geometry.h"

struct poster_craft {
    bool seamless = true;          // one resample of the whole crop for every sheet
    int32_t overlap = 0;           // glue band on the inner edges, smm (0 .. max_overlap_smm)
    bool labels = false;           // sheet names and where the neighbours go
    bool trim_marks = false;       // marks on the inner edges
    bool assembly_sheet = false;   // an extra first page with the map of the sheets
    bool show_resolution = false;  // the meter beside the poster size
    bool resolution_warning = false;  // ask before printing below the low threshold
    int32_t low_ppi = 150;         // a warning below this
    int32_t very_low_ppi = 100;    // a stronger one below this
    bool operator==(const poster_craft&) const = default;
};

// The craft with every value brought into its range: the band within
// 0 .. max_overlap_smm, thresholds within 1 .. 10000 and the very low one not
// above the low one.
poster_craft checked_craft(const poster_craft& craft);

enum class resolution_level : int32_t { good, low, very_low };

// The picture's effective resolution on the poster: picture pixels per inch
// of poster on each axis, how it stands against the thresholds (the poorer
// axis counts), and the largest poster of the crop's aspect that keeps
// low_ppi on both axes.
struct resolution_report {
    double ppi_x;
    double ppi_y;
    resolution_level level;
    smm_size largest;
};
// Nullopt for a crop or poster without area.
std::optional<resolution_report> poster_resolution(int_size crop, smm_size poster, int32_t low_ppi,
                                                   int32_t very_low_ppi);

// "", "low" or "very low".
const char* resolution_level_word(resolution_level level);

// The meter beside the poster size: the poorer axis, "152 ppi", with
// " (low)" or " (very low)" after it when warned.
std::string resolution_short_text(const resolution_report& report);
// The whole story: "152 x 152 ppi at this size; up to 63.50 x 95.25 cm keeps
// 150 ppi." in the display unit (centimetres or inches).
std::string resolution_long_text(const resolution_report& report, bool metric, int32_t low_ppi);

// The largest poster of the crop's aspect on `across` sheets across and
// `down` sheets down: a given axis filled by its row of tiles less the bands
// between them, the other side following (rounded); with both given, the
// larger such poster that fits both. 0 leaves an axis free; nullopt when both
// are free or no poster fits.
std::optional<smm_size> poster_for_sheets(int32_t across, int32_t down, smm_size page, int32_t overlap, int_size crop);
