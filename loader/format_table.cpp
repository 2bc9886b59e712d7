#include "loader/format_table.h"

#include <string>
#include <string_view>

const format_row format_table[format_table_rows] = {
    {"JPEG Files", "*.jpg;*.jpe;*.jif;*.jpeg;*.jfif"},
    {"JPEG 2000", "*.jp2;*.j2c;*.j2k;*.jpc;*.jpx"},
    {"BMP Files", "*.bmp;*.dib;*.rle"},
    {"PNG Files", "*.png"},
    {"GIF Files", "*.gif"},
    {"Targa Files", "*.tga"},
    {"TIFF Files", "*.tif;*.tiff"},
    {"Photoshop Files", "*.psd"},
    {"PCX Files", "*.pcx"},
    {"PhotoCD Files", "*.pcd"},
    {"Metafiles", "*.wmf;*.emf"},
};

namespace {

// The file name is what follows the last folder separator (either slash, as
// Windows paths allow both).
std::string_view file_name_of(std::string_view path)
{
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// True when one of the pieces between "*" and ";" equals the extension.
bool pattern_list_has(std::string_view patterns, std::string_view extension)
{
    size_t start = 0;
    while (start <= patterns.size()) {
        const size_t end = patterns.find_first_of("*;", start);
        const std::string_view piece =
            patterns.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (piece == extension)
            return true;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

}  // namespace

bool extension_accepted(const char* path)
{
    if (!path)
        return false;
    const std::string_view name = file_name_of(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return true;
    // An extension of any length is taken whole: one longer than any pattern
    // simply matches none.
    std::string extension(name.substr(dot));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    for (const format_row& row : format_table)
        if (pattern_list_has(row.patterns, extension))
            return true;
    return false;
}
