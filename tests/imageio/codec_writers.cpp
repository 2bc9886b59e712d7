#include "tests/imageio/codec_writers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <openjpeg.h>
#include <png.h>
#include <tiffio.h>

std::vector<uint8_t> make_jpeg(const jpeg_spec& recipe)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&cinfo, &out, &out_size);
    cinfo.image_width = recipe.width;
    cinfo.image_height = recipe.height;
    cinfo.input_components = recipe.components;
    cinfo.in_color_space = recipe.components == 1 ? JCS_GRAYSCALE : recipe.components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    if (recipe.components == 4)
        jpeg_set_colorspace(&cinfo, recipe.ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    if (recipe.progressive)
        jpeg_simple_progression(&cinfo);
    if (recipe.full_chroma)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (recipe.adobe_marker)
        cinfo.write_Adobe_marker = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    for (const std::string& comment : recipe.comments)
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.data()), (unsigned)comment.size());
    for (const auto& [code, data] : recipe.markers)
        jpeg_write_marker(&cinfo, code, data.data(), (unsigned)data.size());
    const size_t row_bytes = (size_t)recipe.width * recipe.components;
    std::vector<uint8_t> row(row_bytes);
    while (cinfo.next_scanline < cinfo.image_height) {
        std::memcpy(row.data(), recipe.pixels.data() + cinfo.next_scanline * row_bytes, row_bytes);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(out, out + out_size);
    std::free(out);
    return file;
}

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

std::vector<uint8_t> make_png(const png_spec& recipe)
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

namespace {

struct memory_file {
    std::vector<uint8_t> bytes;
    uint64_t position = 0;
};

tmsize_t memory_read(thandle_t h, void* buffer, tmsize_t size)
{
    auto* f = static_cast<memory_file*>(h);
    const uint64_t left = f->position < f->bytes.size() ? f->bytes.size() - f->position : 0;
    const uint64_t n = (uint64_t)size < left ? (uint64_t)size : left;
    std::memcpy(buffer, f->bytes.data() + f->position, n);
    f->position += n;
    return (tmsize_t)n;
}

tmsize_t memory_write(thandle_t h, void* buffer, tmsize_t size)
{
    auto* f = static_cast<memory_file*>(h);
    if (f->position + size > f->bytes.size())
        f->bytes.resize(f->position + size);
    std::memcpy(f->bytes.data() + f->position, buffer, size);
    f->position += size;
    return size;
}

toff_t memory_seek(thandle_t h, toff_t offset, int whence)
{
    auto* f = static_cast<memory_file*>(h);
    if (whence == SEEK_CUR)
        offset += f->position;
    else if (whence == SEEK_END)
        offset += f->bytes.size();
    f->position = offset;
    return offset;
}

int memory_close(thandle_t)
{
    return 0;
}

toff_t memory_size(thandle_t h)
{
    return static_cast<memory_file*>(h)->bytes.size();
}

int memory_map(thandle_t, void**, toff_t*)
{
    return 0;
}

void memory_unmap(thandle_t, void*, toff_t) {}

void write_tiff_directory(TIFF* tif, const tiff_spec& recipe)
{
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, recipe.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, recipe.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, recipe.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, recipe.samples);
    if (recipe.extra_samples) {
        std::vector<uint16_t> kinds(recipe.extra_samples, EXTRASAMPLE_ASSOCALPHA);
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, recipe.extra_samples, kinds.data());
    }
    if (recipe.write_photometric)
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, recipe.photometric);
    if (recipe.orientation)
        TIFFSetField(tif, TIFFTAG_ORIENTATION, recipe.orientation);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, recipe.planar);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, recipe.compression);
    if (!recipe.colormap.empty()) {
        const size_t n = recipe.colormap.size() / 3;
        TIFFSetField(tif, TIFFTAG_COLORMAP, recipe.colormap.data(), recipe.colormap.data() + n,
                     recipe.colormap.data() + 2 * n);
    }
    if (recipe.x_resolution > 0) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, recipe.x_resolution);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, recipe.y_resolution);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    const size_t row_bytes = ((size_t)recipe.width * recipe.samples * recipe.bits + 7) / 8;
    if (recipe.tile_size) {
        // Tiles are cut from byte-aligned pixels (8 bits or more a sample).
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, recipe.tile_size);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, recipe.tile_size);
        const size_t pixel = (size_t)recipe.samples * recipe.bits / 8;
        std::vector<uint8_t> tile((size_t)recipe.tile_size * recipe.tile_size * pixel);
        for (uint32_t ty = 0; ty < recipe.height; ty += recipe.tile_size) {
            for (uint32_t tx = 0; tx < recipe.width; tx += recipe.tile_size) {
                std::fill(tile.begin(), tile.end(), 0);
                for (uint32_t y = 0; y < recipe.tile_size && ty + y < recipe.height; ++y)
                    for (uint32_t x = 0; x < recipe.tile_size && tx + x < recipe.width; ++x)
                        std::memcpy(tile.data() + ((size_t)y * recipe.tile_size + x) * pixel,
                                    recipe.data.data() + (ty + y) * row_bytes + (tx + x) * pixel, pixel);
                TIFFWriteTile(tif, tile.data(), tx, ty, 0, 0);
            }
        }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP,
                     recipe.rows_per_strip ? recipe.rows_per_strip : TIFFDefaultStripSize(tif, 0));
        if (recipe.planar == PLANARCONFIG_SEPARATE) {
            // One plane a sample, from interleaved 8-bit samples.
            std::vector<uint8_t> plane_row(recipe.width);
            for (uint16_t s = 0; s < recipe.samples; ++s)
                for (uint32_t y = 0; y < recipe.height; ++y) {
                    for (uint32_t x = 0; x < recipe.width; ++x)
                        plane_row[x] = recipe.data[y * row_bytes + (size_t)x * recipe.samples + s];
                    TIFFWriteScanline(tif, plane_row.data(), y, s);
                }
        } else {
            std::vector<uint8_t> row(row_bytes);
            for (uint32_t y = 0; y < recipe.height; ++y) {
                std::memcpy(row.data(), recipe.data.data() + y * row_bytes, row_bytes);
                TIFFWriteScanline(tif, row.data(), y, 0);
            }
        }
    }
}

}  // namespace

std::vector<uint8_t> make_tiff(const std::vector<tiff_spec>& directories)
{
    memory_file file;
    TIFF* tif = TIFFClientOpen("memory", "w", &file, memory_read, memory_write, memory_seek, memory_close,
                               memory_size, memory_map, memory_unmap);
    for (const tiff_spec& recipe : directories) {
        write_tiff_directory(tif, recipe);
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return file.bytes;
}

namespace {

OPJ_SIZE_T j2k_write(void* buffer, OPJ_SIZE_T count, void* user)
{
    auto* f = static_cast<memory_file*>(user);
    memory_write(f, buffer, (tmsize_t)count);
    return count;
}

OPJ_OFF_T j2k_skip(OPJ_OFF_T count, void* user)
{
    auto* f = static_cast<memory_file*>(user);
    f->position += count;
    if (f->position > f->bytes.size())
        f->bytes.resize(f->position);
    return count;
}

OPJ_BOOL j2k_seek(OPJ_OFF_T position, void* user)
{
    auto* f = static_cast<memory_file*>(user);
    f->position = position;
    if (f->position > f->bytes.size())
        f->bytes.resize(f->position);
    return OPJ_TRUE;
}

uint32_t ceil_div(uint32_t a, uint32_t b)
{
    return (a + b - 1) / b;
}

}  // namespace

void j2k_component_size(const j2k_spec& recipe, size_t component, uint32_t* width, uint32_t* height)
{
    const uint32_t dx = component < recipe.dx.size() ? recipe.dx[component] : 1;
    const uint32_t dy = component < recipe.dy.size() ? recipe.dy[component] : 1;
    *width = ceil_div(recipe.x0 + recipe.width, dx) - ceil_div(recipe.x0, dx);
    *height = ceil_div(recipe.y0 + recipe.height, dy) - ceil_div(recipe.y0, dy);
}

std::vector<uint8_t> make_j2k(const j2k_spec& recipe)
{
    const size_t count = recipe.planes.size();
    std::vector<opj_image_cmptparm_t> parameters(count);
    for (size_t c = 0; c < count; ++c) {
        opj_image_cmptparm_t& p = parameters[c];
        std::memset(&p, 0, sizeof p);
        p.dx = c < recipe.dx.size() ? recipe.dx[c] : 1;
        p.dy = c < recipe.dy.size() ? recipe.dy[c] : 1;
        j2k_component_size(recipe, c, &p.w, &p.h);
        p.x0 = ceil_div(recipe.x0, p.dx);
        p.y0 = ceil_div(recipe.y0, p.dy);
        p.prec = (OPJ_UINT32)recipe.precision;
        p.sgnd = recipe.is_signed ? 1 : 0;
    }
    const OPJ_COLOR_SPACE spaces[] = {OPJ_CLRSPC_UNSPECIFIED, OPJ_CLRSPC_SRGB, OPJ_CLRSPC_GRAY, OPJ_CLRSPC_SYCC};
    opj_image_t* image = opj_image_create((OPJ_UINT32)count, parameters.data(), spaces[recipe.color_space]);
    if (!image)
        return {};
    image->x0 = recipe.x0;
    image->y0 = recipe.y0;
    image->x1 = recipe.x0 + recipe.width;
    image->y1 = recipe.y0 + recipe.height;
    for (size_t c = 0; c < count; ++c)
        std::memcpy(image->comps[c].data, recipe.planes[c].data(),
                    sizeof(OPJ_INT32) * image->comps[c].w * image->comps[c].h);

    opj_cparameters_t settings;
    opj_set_default_encoder_parameters(&settings);
    settings.tcp_numlayers = 1;
    settings.tcp_rates[0] = 0;
    settings.cp_disto_alloc = 1;
    settings.irreversible = 0;
    uint32_t smallest = recipe.width < recipe.height ? recipe.width : recipe.height;
    settings.numresolution = 1;
    while (settings.numresolution < 6 && (smallest >>= 1) > 0)
        ++settings.numresolution;
    bool same_steps = true;
    for (size_t c = 0; c < count; ++c)
        same_steps = same_steps && parameters[c].dx == 1 && parameters[c].dy == 1;
    settings.tcp_mct = (count >= 3 && same_steps && recipe.color_space != 3) ? 1 : 0;

    opj_codec_t* codec = opj_create_compress(recipe.jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    memory_file file;
    opj_stream_t* stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE);
    opj_stream_set_write_function(stream, j2k_write);
    opj_stream_set_skip_function(stream, j2k_skip);
    opj_stream_set_seek_function(stream, j2k_seek);
    opj_stream_set_user_data(stream, &file, nullptr);
    const bool written = opj_setup_encoder(codec, &settings, image) && opj_start_compress(codec, image, stream) &&
                         opj_encode(codec, stream) && opj_end_compress(codec, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    return written ? file.bytes : std::vector<uint8_t>();
}
