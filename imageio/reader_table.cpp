#include "imageio/reader_table.h"

#include "imageio/readers/bmp.h"
#include "imageio/readers/gif.h"
#include "imageio/readers/pcx.h"
#include "imageio/readers/tga.h"
#include "imageio/readers/wbmp.h"

namespace {

constexpr family_route N = ROUTE_NONE;
constexpr family_route D = ROUTE_DIRECT;
constexpr family_route V8 = ROUTE_VIA_8;
constexpr family_route V24 = ROUTE_VIA_24;

// Indexed by reader_index. Routes are for 1, 8, 24 and 32 bits. A JPEG read at
// 8 bits sets up a grey palette itself.
const reader_entry readers[READER_COUNT] = {
    {"JPG", 0, nullptr, {N, D, D, V24}, nullptr},
    {"BMP", 0, bmp_suggest_depth, {D, D, D, D}, bmp_generic_read},
    {"GIF", 8, nullptr, {N, D, V8, V24}, gif_generic_read},
    {"PCX", 0, pcx_suggest_depth, {D, D, D, V24}, pcx_generic_read},
    {"PNG", 0, nullptr, {D, D, D, D}, nullptr},
    {"TIFF", 0, nullptr, {D, D, D, D}, nullptr},
    {"TGA", 0, tga_suggest_depth, {N, D, D, D}, tga_generic_read},
    {"WMF", 24, nullptr, {N, N, D, V24}, nullptr},
    {"EMF", 24, nullptr, {N, N, D, V24}, nullptr},
    {"PSD", 0, nullptr, {N, D, D, V24}, nullptr},
    {"WBMP", 8, nullptr, {N, D, V8, V24}, wbmp_generic_read},
    {"TLA", 0, nullptr, {N, D, D, D}, nullptr},
    {"TLA", 0, nullptr, {N, N, N, N}, nullptr},  // password-protected: refused before any read
    {"PCD", 24, nullptr, {N, N, D, V24}, nullptr},
    {"", 0, nullptr, {N, N, N, N}, nullptr},
};

}  // namespace

const reader_entry& reader_for(int32_t index)
{
    return readers[(index >= 0 && index < READER_COUNT) ? index : READER_UNKNOWN];
}
