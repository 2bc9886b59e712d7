#include "tests/writers/png_writer.h"

#include <png.h>

namespace {

void append_png(png_structp png, png_bytep data, size_t length)
{
    auto* file = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    file->insert(file->end(), data, data + length);
}

void no_flush(png_structp) {}

int png_channels(int color_type)
{
    switch (color_type) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

// One row of samples packed at the bit depth (16-bit samples big-endian).
std::vector<uint8_t> pack_png_row(const uint16_t* samples, size_t count, int bit_depth)
{
    std::vector<uint8_t> row((count * bit_depth + 7) / 8);
    for (size_t i = 0; i < count; ++i) {
        if (bit_depth == 16) {
            row[2 * i] = (uint8_t)(samples[i] >> 8);
            row[2 * i + 1] = (uint8_t)samples[i];
        } else if (bit_depth == 8) {
            row[i] = (uint8_t)samples[i];
        } else {
            const size_t bit = i * bit_depth;
            row[bit / 8] |= (uint8_t)(samples[i] << (8 - bit_depth - bit % 8));
        }
    }
    return row;
}

}  // namespace

std::vector<uint8_t> make_png(const png_recipe& recipe)
{
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, append_png, no_flush);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bit_depth, recipe.color_type,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (uint32_t c : recipe.palette)
        palette.push_back({(png_byte)(c >> 16), (png_byte)(c >> 8), (png_byte)c});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), (int)palette.size());
    png_color_16 colour{};
    if (recipe.has_transparent_colour) {
        colour.gray = recipe.transparent[0];
        colour.red = recipe.transparent[0];
        colour.green = recipe.transparent[1];
        colour.blue = recipe.transparent[2];
    }
    if (!recipe.palette_alphas.empty() || recipe.has_transparent_colour)
        png_set_tRNS(png, info, recipe.palette_alphas.empty() ? nullptr : recipe.palette_alphas.data(),
                     (int)recipe.palette_alphas.size(), recipe.has_transparent_colour ? &colour : nullptr);
    if (recipe.has_background) {
        png_color_16 background{};
        background.index = recipe.background_index;
        background.gray = recipe.background[0];
        background.red = recipe.background[0];
        background.green = recipe.background[1];
        background.blue = recipe.background[2];
        png_set_bKGD(png, info, &background);
    }
    if (recipe.gamma > 0)
        png_set_gAMA(png, info, recipe.gamma);
    std::vector<png_text> texts;
    for (const auto& [key, text] : recipe.texts) {
        png_text t{};
        t.compression = PNG_TEXT_COMPRESSION_NONE;
        t.key = const_cast<char*>(key.c_str());
        t.text = const_cast<char*>(text.c_str());
        t.text_length = text.size();
        texts.push_back(t);
    }
    if (!texts.empty() && !recipe.texts_after_image)
        png_set_text(png, info, texts.data(), (int)texts.size());
    png_write_info(png, info);

    const size_t per_row = (size_t)recipe.width * png_channels(recipe.color_type);
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> pointers;
    for (uint32_t y = 0; y < recipe.height; ++y)
        rows.push_back(pack_png_row(recipe.samples.data() + y * per_row, per_row, recipe.bit_depth));
    for (auto& row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    if (!texts.empty() && recipe.texts_after_image)
        png_set_text(png, info, texts.data(), (int)texts.size());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}
