// Command-line lengths and sizes.
#include "tools/cli/lengths.h"
#include "poster/poster_size.h"

#include <charconv>
#include <string_view>
#include <strings.h>

namespace {

// The decimal number at the start of text: its value and where it ends.
bool leading_decimal(std::string_view text, double* value, size_t* end)
{
    size_t i = 0;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    double parsed = 0;
    auto result = std::from_chars(text.data(), text.data() + i, parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + i)
        return false;
    *value = parsed;
    *end = i;
    return true;
}

// A length below the command-line limit, as whole smm.
bool to_smm(double smm, int32_t* out)
{
    if (smm >= cli_length_limit)
        return false;
    *out = round_half_away(smm);
    return true;
}

bool split_pair(std::string_view text, std::string_view* first, std::string_view* second)
{
    size_t x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    *first = text.substr(0, x);
    *second = text.substr(x + 1);
    return true;
}

bool whole_decimal(std::string_view text, double* value)
{
    size_t end = 0;
    return leading_decimal(text, value, &end) && end == text.size();
}

struct named_paper {
    const char* name;
    smm_size size;
};

const named_paper papers[] = {
    {"A3", {29700, 42000}},
    {"A4", {21000, 29700}},
    {"A5", {14800, 21000}},
    {"Letter", {85 * smm_per_inch / 10, 11 * smm_per_inch}},
    {"Legal", {85 * smm_per_inch / 10, 14 * smm_per_inch}},
    {"Tabloid", {11 * smm_per_inch, 17 * smm_per_inch}},
};

}  // namespace

bool parse_whole_numbers(std::string_view text, int32_t* values, int count)
{
    for (int i = 0; i < count; ++i) {
        const size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == count - 1))
            return false;
        const std::string_view part = text.substr(0, comma);
        auto result = std::from_chars(part.data(), part.data() + part.size(), values[i]);
        if (part.empty() || result.ec != std::errc() || result.ptr != part.data() + part.size() || values[i] < 0)
            return false;
        if (i < count - 1)
            text = text.substr(comma + 1);
    }
    return true;
}

bool parse_length(const char* text, double* smm)
{
    std::string_view view(text);
    double number = 0;
    size_t end = 0;
    if (!leading_decimal(view, &number, &end))
        return false;
    std::string_view unit = view.substr(end);
    double factor = 0;
    if (unit == "cm")
        factor = smm_per_cm;
    else if (unit == "mm")
        factor = smm_per_mm;
    else if (unit == "in")
        factor = smm_per_inch;
    else
        return false;
    *smm = number * factor;
    return true;
}

bool parse_mm_rect(const char* text, smm_rect* rect)
{
    std::string_view rest(text);
    int32_t sides[4];
    for (int i = 0; i < 4; ++i) {
        size_t comma = rest.find(',');
        if ((comma == std::string_view::npos) != (i == 3))
            return false;
        double mm = 0;
        if (!whole_decimal(rest.substr(0, comma), &mm) || !to_smm(mm * smm_per_mm, &sides[i]))
            return false;
        if (i < 3)
            rest = rest.substr(comma + 1);
    }
    *rect = {sides[0], sides[1], sides[2], sides[3]};
    return true;
}

bool parse_int_size(const char* text, int_size* size)
{
    std::string_view first, second;
    if (!split_pair(text, &first, &second))
        return false;
    int32_t values[2];
    std::string_view parts[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        const std::string_view part = parts[i];
        if (part.empty() || part[0] < '0' || part[0] > '9')
            return false;
        auto result = std::from_chars(part.data(), part.data() + part.size(), values[i]);
        if (result.ec != std::errc() || result.ptr != part.data() + part.size() || values[i] <= 0)
            return false;
    }
    *size = {values[0], values[1]};
    return true;
}

bool parse_paper(const char* text, smm_size* paper)
{
    for (const named_paper& p : papers) {
        if (!strcasecmp(text, p.name)) {
            *paper = p.size;
            return true;
        }
    }
    std::string_view view(text);
    if (view.size() < 2 || view.substr(view.size() - 2) != "mm")
        return false;
    std::string_view first, second;
    double w = 0, h = 0;
    int32_t width = 0, height = 0;
    if (!split_pair(view.substr(0, view.size() - 2), &first, &second) || !whole_decimal(first, &w) ||
        !whole_decimal(second, &h) || !to_smm(w * smm_per_mm, &width) || !to_smm(h * smm_per_mm, &height) ||
        width <= 0 || height <= 0)
        return false;
    *paper = {width, height};
    return true;
}

bool parse_pixel_rect(const char* text, int_rect* rect)
{
    int32_t v[4];
    if (!parse_whole_numbers(text, v, 4) || v[2] < v[0] || v[3] < v[1])
        return false;
    *rect = {v[0], v[1], v[2], v[3]};
    return true;
}

const char* paper_name_of(smm_size paper)
{
    for (const named_paper& p : papers)
        if (p.size == paper)
            return p.name;
    return "";
}
