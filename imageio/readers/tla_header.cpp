// TLA signature and chunks before the pixel data, and the header query.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/tla_format.h"

#include <cstring>

namespace {

struct chunk_header {
    uint16_t type;
    uint32_t length;
};

// A chunk header: one byte (not used), the type and the length.
bool read_chunk_header(CISIO& io, chunk_header* chunk)
{
    uint8_t h[7];
    if (!io.read_exactly(h, sizeof h))
        return false;
    chunk->type = le16(h + 1);
    chunk->length = le32(h + 3);
    return true;
}

// A chunk of the given type whose length is exactly `length` bytes, read into data.
int32_t read_fixed_chunk(CISIO& io, uint16_t type, uint32_t length, uint8_t* data)
{
    chunk_header chunk;
    if (!read_chunk_header(io, &chunk) || chunk.type != type || chunk.length != length)
        return IS_ERR_READ;
    return io.read_exactly(data, length) ? IS_OK : IS_ERR_READ;
}

bool skip(CISIO& io, uint32_t length)
{
    return length == 0 || io.seek(length, 1);
}

// A tag chunk's data, kept whole. Never reserves more than the source holds.
int32_t read_tag(CISIO& io, ISPtrVector<CFileDataTag>* tags)
{
    chunk_header chunk;
    if (!read_chunk_header(io, &chunk))
        return IS_ERR_READ;
    const int64_t size = io.size(), here = io.tell();
    if (size >= 0 && here >= 0 && (int64_t)chunk.length > size - here)
        return IS_ERR_READ;
    if (chunk.length > is_buffer_limit())
        return IS_ERR_NO_MEMORY;
    auto tag = std::make_unique<CFileDataTag>();
    tag->data.resize(chunk.length);
    if (chunk.length && !io.read_exactly(tag->data.data(), chunk.length))
        return IS_ERR_READ;
    tags->push_back(std::move(tag));
    return IS_OK;
}

}  // namespace

int32_t tla_read_header(CISIO& io, tla_info* info)
{
    std::memset(info, 0, sizeof *info);
    uint8_t signature[4];
    if (!io.read_exactly(signature, 4))
        return IS_ERR_READ;
    if (std::memcmp(signature, "TLA\x01", 4) == 0)
        return IS_ERR_PROTECTED_TLA;
    if (std::memcmp(signature, "TLAU", 4) != 0)
        return IS_ERR_READ;

    uint8_t version[2];
    if (int32_t error = read_fixed_chunk(io, TLA_CHUNK_VERSION, sizeof version, version))
        return error;
    if (le16(version) != 1)
        return IS_ERR_TLA_VERSION;

    uint8_t image[8];
    if (int32_t error = read_fixed_chunk(io, TLA_CHUNK_IMAGE, sizeof image, image))
        return error;
    info->width = le16(image);
    info->height = le16(image + 2);
    info->pixel_format = le16(image + 4);
    info->palette_entries = le16(image + 6);
    if (info->pixel_format < TLA_INDEXED || info->pixel_format > TLA_RGBA)
        return IS_ERR_READ;
    // A palette holds at most 256 entries; an empty picture has no rows to read.
    if (info->palette_entries > 256 || info->width == 0 || info->height == 0)
        return IS_ERR_READ;
    return IS_OK;
}

int32_t tla_read_chunks(CISIO& io, tla_info* info, ISPtrVector<CFileDataTag>* tags)
{
    chunk_header chunk;
    if (!read_chunk_header(io, &chunk) || chunk.type != TLA_CHUNK_PALETTE)
        return IS_ERR_READ;
    uint32_t used = 0;
    if (info->pixel_format == TLA_INDEXED) {
        used = 4u * info->palette_entries;
        if (chunk.length < used || !io.read_exactly(info->palette, used))
            return IS_ERR_READ;
    }
    if (!skip(io, chunk.length - used))
        return IS_ERR_READ;

    uint8_t count[2];
    if (int32_t error = read_fixed_chunk(io, TLA_CHUNK_TAG_COUNT, sizeof count, count))
        return error;
    for (uint32_t i = 0; i < le16(count); ++i)
        if (int32_t error = read_tag(io, tags))
            return error;

    if (!read_chunk_header(io, &chunk) || chunk.type != TLA_CHUNK_DATA_START || !skip(io, chunk.length))
        return IS_ERR_READ;
    return IS_OK;
}

bool tla_query_header(read_context& context, tla_header_query* query)
{
    tla_info info;
    if (int32_t error = tla_read_header(context.io, &info)) {
        context.error = error;
        return false;
    }
    query->width = info.width;
    query->height = info.height;
    query->bits_per_pixel = 8 * (int32_t)tla_pixel_bytes(info.pixel_format);
    return true;
}

int32_t tla_suggest_depth(read_context& context)
{
    tla_header_query query;
    if (!tla_query_header(context, &query))
        return 0;
    if (query.bits_per_pixel <= 8)
        return 8;
    return query.bits_per_pixel == 24 ? 24 : 32;
}
