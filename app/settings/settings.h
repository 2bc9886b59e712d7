// The five settings kept between runs: the unit flag and the four paper
// margins, as decimal text values under HKEY_CURRENT_USER.
#pragma once
#include <cstdint>

// The value's text as a C-library decimal conversion reads it, or the default
// when the value is missing, unreadable, empty or 64 bytes and longer.
int32_t read_setting_int(const char* name, int32_t default_value);
// Writes the value's decimal text; the key is created when missing. Failures
// are ignored.
void write_setting_int(const char* name, int32_t value);
// True when the user's locale measures in the metric system.
bool metric_by_locale();

struct stored_settings {
    bool metric;
    int32_t margin_left;    // smm
    int32_t margin_top;
    int32_t margin_right;
    int32_t margin_bottom;
};
// Reads "metric" (default: the locale's system), then the four margins with
// the defaults of that unit.
stored_settings load_settings();
// Writes the four margins, then "metric" (1 or 0), in that order.
void save_settings(const stored_settings& settings);
