// OpenJPEG fed through the library's callback table: an opj_stream whose
// read, skip and seek functions call the table, and the decode itself.
#include "imageio/readers/j2k_decode.h"

#include "imageio/buffer.h"
#include "imageio/codes.h"
#include "imageio/trace.h"

#include <cstring>

namespace {

OPJ_SIZE_T stream_read(void* buffer, OPJ_SIZE_T count, void* user)
{
    const j2k_source* s = static_cast<const j2k_source*>(user);
    const uint32_t asked = count > 0x7FFFFFFF ? 0x7FFFFFFF : (uint32_t)count;
    const uint32_t got = s->table.read(s->source, buffer, asked);
    return got ? (OPJ_SIZE_T)got : (OPJ_SIZE_T)-1;
}

OPJ_OFF_T stream_skip(OPJ_OFF_T count, void* user)
{
    const j2k_source* s = static_cast<const j2k_source*>(user);
    return s->table.seek(s->source, count, 1) ? count : -1;
}

OPJ_BOOL stream_seek(OPJ_OFF_T position, void* user)
{
    const j2k_source* s = static_cast<const j2k_source*>(user);
    return s->table.seek(s->source, s->base + position, 0) ? OPJ_TRUE : OPJ_FALSE;
}

void trace_error(const char* message, void*)
{
    is_trace(3, "%s", message);
}

void trace_warning(const char* message, void*)
{
    is_trace(2, "%s", message);
}

struct stream_release {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct codec_release {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};

[[noreturn]] void decode_failure(const char* message)
{
    throw RAZA2V::ISException(IS_ERR_J2K, message);
}

// The codec of the data at the current position, and where the data begins.
OPJ_CODEC_FORMAT identify(const is_io_callbacks& table, ISSourceRecord* source, int64_t* base)
{
    int64_t start = 0;
    uint8_t head[12] = {};
    if (!table.tell(source, &start) || table.read(source, head, sizeof head) < 6)
        decode_failure("Unknown JPEG 2000 format");
    *base = start;
    if (std::memcmp(head + 4, "jP  ", 4) == 0)
        return OPJ_CODEC_JP2;
    if (head[0] == 0xFF && head[1] == 0x4F)
        return OPJ_CODEC_J2K;
    if (head[4] == 0xFF && head[5] == 0x4F) {
        *base = start + 4;
        return OPJ_CODEC_J2K;
    }
    decode_failure("Unknown JPEG 2000 format");
}

// What OpenJPEG keeps of the decoded image: one 32-bit word a sample.
void check_decoded_size(const opj_image_t& image)
{
    uint64_t area = 0;
    if (image.x1 < image.x0 || image.y1 < image.y0 ||
        !is_buffer_size((uint64_t)image.x1 - image.x0, (uint64_t)image.y1 - image.y0, 4ull * image.numcomps, &area))
        throw RAZA2V::ISException(IS_ERR_NO_MEMORY, "image too large");
}

}  // namespace

j2k_image j2k_decode(const is_io_callbacks& table, ISSourceRecord* source)
{
    j2k_source s{table, source, 0};
    const OPJ_CODEC_FORMAT format = identify(table, source, &s.base);
    if (!table.seek(source, s.base, 0))
        decode_failure("seek failed");

    std::unique_ptr<opj_stream_t, stream_release> stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
    if (!stream)
        throw RAZA2V::ISException(IS_ERR_NO_MEMORY, "no stream");
    opj_stream_set_read_function(stream.get(), stream_read);
    opj_stream_set_skip_function(stream.get(), stream_skip);
    opj_stream_set_seek_function(stream.get(), stream_seek);
    opj_stream_set_user_data(stream.get(), &s, nullptr);
    int64_t size = 0;
    if (table.get_size(source, &size) && size > s.base)
        opj_stream_set_user_data_length(stream.get(), (OPJ_UINT64)(size - s.base));

    std::unique_ptr<opj_codec_t, codec_release> codec(opj_create_decompress(format));
    if (!codec)
        throw RAZA2V::ISException(IS_ERR_NO_MEMORY, "no codec");
    opj_set_error_handler(codec.get(), trace_error, nullptr);
    opj_set_warning_handler(codec.get(), trace_warning, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec.get(), &parameters))
        decode_failure("decoder set-up failed");

    opj_image_t* header = nullptr;
    const bool read = opj_read_header(stream.get(), codec.get(), &header) != 0;
    j2k_image image(header);
    if (!read || !image)
        decode_failure("header cannot be read");
    check_decoded_size(*image);
    if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get()))
        decode_failure("decoding failed");
    return image;
}
