#include "app/settings/settings.h"

#include <windows.h>
#include <shlwapi.h>

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

const char* const maker_name = "Quenbrook";
const char* const product_name = "Tilora";

// The registry refuses texts that do not fit this buffer; a text filling it
// without a terminating NUL is treated as unreadable.
constexpr DWORD value_buffer_size = 64;

void settings_key(char* key, size_t size)
{
    std::snprintf(key, size, "Software\\%s\\%s", maker_name, product_name);
}

// Optional white space and sign, then digits up to the first other character;
// 0 when there are none. Values beyond 32 bits saturate instead of wrapping.
int32_t decimal_value(const char* text)
{
    while (std::isspace((unsigned char)*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > (int64_t)INT32_MAX + 1)
            value = (int64_t)INT32_MAX + 1;
    }
    if (negative)
        return (int32_t)-value;
    return value > INT32_MAX ? INT32_MAX : (int32_t)value;
}

}  // namespace

int32_t read_setting_int(const char* name, int32_t default_value)
{
    char key[MAX_PATH];
    settings_key(key, sizeof key);
    char text[value_buffer_size] = {};
    DWORD type = 0;
    DWORD size = value_buffer_size;
    if (SHGetValueA(HKEY_CURRENT_USER, key, name, &type, text, &size) != ERROR_SUCCESS)
        return default_value;
    // The value is stored without a terminating NUL, and the registry adds one
    // only when there is room: end the text within the buffer ourselves.
    const size_t length = strnlen(text, size < value_buffer_size ? size : value_buffer_size);
    if (length >= value_buffer_size)
        return default_value;
    text[length] = '\0';
    if (length == 0)
        return default_value;
    return decimal_value(text);
}

void write_setting_int(const char* name, int32_t value)
{
    char key[MAX_PATH];
    settings_key(key, sizeof key);
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", (int)value);
    SHSetValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text, (DWORD)length);
}

bool metric_by_locale()
{
    char measure[2] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure);
    return measure[0] == '0';
}

stored_settings load_settings()
{
    stored_settings settings{};
    settings.metric = read_setting_int("metric", metric_by_locale() ? 1 : 0) != 0;
    // 5, 5, 20 and 20 mm, or a quarter, a quarter, one and one inch.
    settings.margin_left = read_setting_int("rtMargin.left", settings.metric ? 500 : 635);
    settings.margin_top = read_setting_int("rtMargin.top", settings.metric ? 500 : 635);
    settings.margin_right = read_setting_int("rtMargin.right", settings.metric ? 2000 : 2540);
    settings.margin_bottom = read_setting_int("rtMargin.bottom", settings.metric ? 2000 : 2540);
    return settings;
}

void save_settings(const stored_settings& settings)
{
    write_setting_int("rtMargin.left", settings.margin_left);
    write_setting_int("rtMargin.top", settings.margin_top);
    write_setting_int("rtMargin.right", settings.margin_right);
    write_setting_int("rtMargin.bottom", settings.margin_bottom);
    write_setting_int("metric", settings.metric ? 1 : 0);
}
