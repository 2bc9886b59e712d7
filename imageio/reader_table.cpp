#include "imageio/reader_table.h"

#include "imageio/readers/bmp.h"
#include "imageio/readers/jpeg.h"
#include "imageio/readers/metafile.h"
#include "imageio/readers/png.h"
#include "imageio/readers/tiff.h"
#include "imageio/readers/pcd.h"
#include "imageio/readers/psd.h"
#include "imageio/readers/tla.h"
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
// 8 bits sets up a grey palette itself. Metafiles are rendered only in the
// Windows build; natively their reader refuses them.
const reader_entry readers[READER_COUNT] = {
    {"JPG", 0, jpeg_suggest_depth, {N, D, D, V24}, jpeg_generic_read},
    {"BMP", 0, bmp_suggest_depth, {D, D, D, D}, bmp_generic_read},
    {"GIF", 8, nullptr, {N, D, V8, V24}, gif_generic_read},
    {"PCX", 0, pcx_suggest_depth, {D, D, D, V24}, pcx_generic_read},
    {"PNG", 0, png_suggest_depth, {D, D, D, D}, png_generic_read},
    {"TIFF", 0, tiff_suggest_depth, {D, D, D, D}, tiff_generic_read},
    {"TGA", 0, tga_suggest_depth, {N, D, D, D}, tga_generic_read},
    {"WMF", 24, nullptr, {N, N, D, V24}, metafile_generic_read},
    {"EMF", 24, nullptr, {N, N, D, V24}, metafile_generic_read},
    {"PSD", 0, psd_suggest_depth, {N, D, D, V24}, psd_generic_read},
    {"WBMP", 8, nullptr, {N, D, V8, V24}, wbmp_generic_read},
    {"TLA", 0, tla_suggest_depth, {N, D, D, D}, tla_generic_read},
    {"TLA", 0, nullptr, {N, N, N, N}, nullptr},  // password-protected: refused before any read
    {"PCD", 24, nullptr, {N, N, D, V24}, pcd_generic_read},
    {"", 0, nullptr, {N, N, N, N}, nullptr},
};

}  // namespace

const reader_entry& reader_for(int32_t index)
{
    return readers[(index >= 0 && index < READER_COUNT) ? index : READER_UNKNOWN];
}
