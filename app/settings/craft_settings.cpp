#include "app/settings/craft_settings.h"

#include "app/settings/settings.h"

namespace {

// A value no setting ever holds marks a value that is not stored.
constexpr int32_t missing = INT32_MIN;

struct craft_value {
    const char* name;
    int32_t (*get)(const poster_craft&);
    void (*set)(poster_craft&, int32_t);
};

const craft_value craft_values[] = {
    {"seamless", [](const poster_craft& c) { return int32_t{c.seamless}; }, [](poster_craft& c, int32_t v) { c.seamless = v != 0; }},
    {"overlap", [](const poster_craft& c) { return c.overlap; }, [](poster_craft& c, int32_t v) { c.overlap = v; }},
    {"sheetLabels", [](const poster_craft& c) { return int32_t{c.labels}; }, [](poster_craft& c, int32_t v) { c.labels = v != 0; }},
    {"trimMarks", [](const poster_craft& c) { return int32_t{c.trim_marks}; }, [](poster_craft& c, int32_t v) { c.trim_marks = v != 0; }},
    {"assemblySheet", [](const poster_craft& c) { return int32_t{c.assembly_sheet}; },
     [](poster_craft& c, int32_t v) { c.assembly_sheet = v != 0; }},
    {"showResolution", [](const poster_craft& c) { return int32_t{c.show_resolution}; },
     [](poster_craft& c, int32_t v) { c.show_resolution = v != 0; }},
    {"resolutionWarning", [](const poster_craft& c) { return int32_t{c.resolution_warning}; },
     [](poster_craft& c, int32_t v) { c.resolution_warning = v != 0; }},
    {"lowPpi", [](const poster_craft& c) { return c.low_ppi; }, [](poster_craft& c, int32_t v) { c.low_ppi = v; }},
    {"veryLowPpi", [](const poster_craft& c) { return c.very_low_ppi; }, [](poster_craft& c, int32_t v) { c.very_low_ppi = v; }},
};

}  // namespace

stored_craft load_craft_settings()
{
    stored_craft result;
    for (const craft_value& value : craft_values) {
        const int32_t read = read_setting_int(value.name, missing);
        if (read == missing)
            continue;
        value.set(result.craft, read);
        result.stored = true;
    }
    result.craft = checked_craft(result.craft);
    return result;
}

void save_craft_settings(const poster_craft& craft, bool stored_before)
{
    if (!stored_before && craft == poster_craft{})
        return;
    for (const craft_value& value : craft_values)
        write_setting_int(value.name, value.get(craft));
}
