#include "tests/writers/j2k_writer.h"

#include "tests/writers/byte_sink.h"

#include <cstring>

#include <openjpeg.h>

namespace {

OPJ_SIZE_T j2k_write(void* buffer, OPJ_SIZE_T count, void* user)
{
    static_cast<byte_sink*>(user)->write(buffer, count);
    return count;
}

OPJ_OFF_T j2k_skip(OPJ_OFF_T count, void* user)
{
    auto* f = static_cast<byte_sink*>(user);
    f->seek(f->position + count);
    return count;
}

OPJ_BOOL j2k_seek(OPJ_OFF_T position, void* user)
{
    static_cast<byte_sink*>(user)->seek((uint64_t)position);
    return OPJ_TRUE;
}

uint32_t ceil_div(uint32_t a, uint32_t b)
{
    return (a + b - 1) / b;
}

}  // namespace

void j2k_component_size(const j2k_recipe& recipe, size_t component, uint32_t* width, uint32_t* height)
{
    const uint32_t dx = component < recipe.dx.size() ? recipe.dx[component] : 1;
    const uint32_t dy = component < recipe.dy.size() ? recipe.dy[component] : 1;
    *width = ceil_div(recipe.x0 + recipe.width, dx) - ceil_div(recipe.x0, dx);
    *height = ceil_div(recipe.y0 + recipe.height, dy) - ceil_div(recipe.y0, dy);
}

std::vector<uint8_t> make_j2k(const j2k_recipe& recipe)
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
    byte_sink file;
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
