// Numbers in edit fields.
#include "poster/number_text.h"

#include <cstdio>
#include <cstdlib>

std::string format_number_text(double value, char decimal_separator)
{
    const int length = std::snprintf(nullptr, 0, "%.2f", value);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.2f", value);
    text.resize(static_cast<size_t>(length));
    if (decimal_separator == ',') {
        const size_t point = text.find('.');
        if (point != std::string::npos)
            text[point] = ',';
    }
    return text;
}

bool parse_number_text(std::string text, double* value)
{
    if (text.empty())
        return false;
    // The C library parses with the separator of its own locale; the user may
    // have typed either one, so the first of the other kind is turned into it.
    const bool parser_uses_point = std::strtod("1.5", nullptr) == 1.5;
    const size_t other = text.find(parser_uses_point ? ',' : '.');
    if (other != std::string::npos)
        text[other] = parser_uses_point ? '.' : ',';
    const double number = std::strtod(text.c_str(), nullptr);
    if (number == 0 && text[0] != '0')
        return false;
    *value = number;
    return true;
}
