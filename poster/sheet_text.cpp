// Lines of text drawn with FreeType from the font built into the program.
#include "poster/sheet_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstddef>
#include <vector>

extern const uint8_t sheet_font_data[];
extern const size_t sheet_font_data_size;

namespace {

// The library and the face of one rendering, released on every way out.
class font_face {
public:
    explicit font_face(int32_t pixel_height)
    {
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
            return;
        }
        if (FT_New_Memory_Face(library_, sheet_font_data, static_cast<FT_Long>(sheet_font_data_size), 0, &face_) != 0 ||
            FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixel_height)) != 0)
            face_ = nullptr;
    }
    ~font_face()
    {
        if (face_)
            FT_Done_Face(face_);
        if (library_)
            FT_Done_FreeType(library_);
    }
    font_face(const font_face&) = delete;
    font_face& operator=(const font_face&) = delete;
    FT_Face get() const { return face_; }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

uint8_t blend(uint32_t ink, uint32_t paper, int shift, uint32_t coverage)
{
    const uint32_t a = (ink >> shift) & 0xFF;
    const uint32_t b = (paper >> shift) & 0xFF;
    return static_cast<uint8_t>((a * coverage + b * (255 - coverage) + 127) / 255);
}

}  // namespace

owned_image render_text_line(std::string_view text, int32_t pixel_height, uint32_t ink, uint32_t paper)
{
    if (text.empty() || pixel_height < 1 || pixel_height > 2000)
        return nullptr;
    font_face font(pixel_height);
    FT_Face face = font.get();
    if (!face)
        return nullptr;
    const int32_t ascent = static_cast<int32_t>((face->size->metrics.ascender + 63) >> 6);
    const int32_t descent = static_cast<int32_t>((-face->size->metrics.descender + 63) >> 6);
    const int32_t height = std::max(ascent + descent, 1);

    // Measure first: the pen's advance, and how far any glyph reaches.
    int64_t pen = 0;
    int64_t right = 1;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0)
            continue;
        right = std::max<int64_t>(right, pen + ((face->glyph->metrics.horiBearingX + face->glyph->metrics.width + 63) >> 6));
        pen += (face->glyph->advance.x + 32) >> 6;
    }
    const int64_t width = std::max(pen, right);
    if (width > 100000)
        return nullptr;
    owned_image line(image_create(PIXEL_BGR24, static_cast<int32_t>(width), height));
    if (!line)
        return nullptr;
    image_fill(line.get(), paper);

    pen = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (uint32_t row = 0; row < bitmap.rows; ++row) {
            const int64_t y = static_cast<int64_t>(ascent) - glyph->bitmap_top + row;
            if (y < 0 || y >= height)
                continue;
            for (uint32_t column = 0; column < bitmap.width; ++column) {
                const int64_t x = pen + glyph->bitmap_left + column;
                if (x < 0 || x >= width)
                    continue;
                const uint32_t coverage = bitmap.buffer[static_cast<ptrdiff_t>(row) * bitmap.pitch + column];
                if (coverage == 0)
                    continue;
                uint8_t* p = line->pixels + y * line->stride + x * 3;
                // Overlapping glyphs keep the darker coverage.
                const uint8_t blue = blend(ink, paper, 0, coverage);
                const uint8_t green = blend(ink, paper, 8, coverage);
                const uint8_t red = blend(ink, paper, 16, coverage);
                p[0] = std::min(p[0], blue);
                p[1] = std::min(p[1], green);
                p[2] = std::min(p[2], red);
            }
        }
        pen += (glyph->advance.x + 32) >> 6;
    }
    return line;
}

owned_image turn_quarter(const raster_image* image, bool clockwise)
{
    owned_image turned(image_create(PIXEL_BGR24, image->height, image->width));
    if (!turned)
        return nullptr;
    for (int32_t y = 0; y < image->height; ++y) {
        for (int32_t x = 0; x < image->width; ++x) {
            const int32_t tx = clockwise ? image->height - 1 - y : y;
            const int32_t ty = clockwise ? x : image->width - 1 - x;
            const uint8_t* from = image->pixels + static_cast<ptrdiff_t>(y) * image->stride + x * 3;
            uint8_t* to = turned->pixels + static_cast<ptrdiff_t>(ty) * turned->stride + tx * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return turned;
}
