#include "imageio/generic_read.h"

#include "imageio/buffer.h"
#include "imageio/detect.h"
#include "imageio/trace.h"

#include <cstring>

namespace {

const int32_t family_depth[FAMILY_COUNT] = {1, 8, 24, 32};
const char* const family_suffix[FAMILY_COUNT] = {"1", "8", "", "32"};

bool family_of(int32_t depth, depth_family* family)
{
    if (depth == 32)
        *family = FAMILY_32;
    else if (depth > 8)
        *family = FAMILY_24;
    else if (depth >= 2)
        *family = FAMILY_8;
    else if (depth == 1)
        *family = FAMILY_1;
    else
        return false;
    return true;
}

}  // namespace

owned_buffer expand_indexed_to_rgb(const uint8_t* indices, uint32_t width, uint32_t height, const uint8_t* palette)
{
    const uint64_t pixels = (uint64_t)width * height;
    owned_buffer rgb = alloc_pixels(pixels, 3);
    if (!rgb)
        return rgb;
    uint8_t* out = rgb.get();
    for (uint64_t i = 0; i < pixels; ++i) {
        const uint8_t* entry = palette + 4 * indices[i];
        out[3 * i] = entry[2];
        out[3 * i + 1] = entry[1];
        out[3 * i + 2] = entry[0];
    }
    return rgb;
}

owned_buffer expand_rgb_to_rgba(const uint8_t* rgb, uint32_t width, uint32_t height)
{
    const uint64_t pixels = (uint64_t)width * height;
    owned_buffer rgba = alloc_pixels(pixels, 4);
    if (!rgba)
        return rgba;
    uint8_t* out = rgba.get();
    for (uint64_t i = 0; i < pixels; ++i) {
        std::memcpy(out + 4 * i, rgb + 3 * i, 3);
        out[4 * i + 3] = 255;
    }
    return rgba;
}

CISGenericReadBase::CISGenericReadBase(read_context& context) : context_(context)
{
    std::memcpy(parked_, context_.state->saved_callback_block, sizeof parked_);
    std::memset(context_.state->saved_callback_block, 0, sizeof parked_);
}

CISGenericReadBase::~CISGenericReadBase()
{
    std::memcpy(context_.state->saved_callback_block, parked_, sizeof parked_);
}

int32_t CISGenericReadBase::suggested_depth(const reader_entry& reader)
{
    if (reader.fixed_depth)
        return reader.fixed_depth;
    int32_t depth = 0;
    if (reader.suggest_depth) {
        // The header query only advises: its failures are not the read's.
        const int32_t error = context_.error;
        if (context_.io.rewind())
            depth = reader.suggest_depth(context_);
        context_.io.rewind();
        context_.error = error;
    }
    return depth > 0 ? depth : 24;
}

owned_buffer CISGenericReadBase::read_family(const reader_entry& reader, depth_family family, uint32_t* width,
                                             uint32_t* height, uint8_t* palette)
{
    switch (reader.routes[family]) {
    case ROUTE_DIRECT: {
        if (!reader.read)
            return context_.fail(IS_ERR_NO_READER);
        owned_buffer buffer(reader.read(context_, width, height, family_depth[family], palette));
        // A partial picture is a failed read here: the caller gets no buffer.
        if (context_.error != IS_OK)
            buffer.reset();
        // No picture is never a success, whatever the reader says.
        if (!buffer && context_.error == IS_OK)
            context_.error = IS_ERR_READ;
        return buffer;
    }
    case ROUTE_VIA_8: {
        uint8_t cleared[1024] = {};
        owned_buffer indices = read_family(reader, FAMILY_8, width, height, cleared);
        if (!indices)
            return nullptr;
        owned_buffer rgb = expand_indexed_to_rgb(indices.get(), *width, *height, cleared);
        if (!rgb)
            return context_.fail(IS_ERR_NO_MEMORY);
        return rgb;
    }
    case ROUTE_VIA_24: {
        owned_buffer rgb = read_family(reader, FAMILY_24, width, height, palette);
        if (!rgb)
            return nullptr;
        owned_buffer rgba = expand_rgb_to_rgba(rgb.get(), *width, *height);
        if (!rgba)
            return context_.fail(IS_ERR_NO_MEMORY);
        return rgba;
    }
    case ROUTE_NONE:
    default:
        return context_.fail(IS_ERR_NO_READER);
    }
}

uint8_t* CISGenericReadBase::read(int32_t wanted_depth, uint32_t* width, uint32_t* height, int32_t* depth,
                                  uint8_t* palette)
{
    *width = 0;
    *height = 0;
    if (depth)
        *depth = 0;
    if (wanted_depth < 0)
        return context_.fail(IS_ERR_BAD_ARGUMENT);
    if (!context_.io.rewind())
        return context_.fail(IS_ERR_READ);
    int32_t detect_error = IS_OK;
    const int32_t code = detect_format(context_.io, &detect_error);
    const int32_t index = reader_index_for(code, context_.io.name());
    if (!context_.io.rewind())
        return context_.fail(IS_ERR_READ);

    if (index == READER_UNKNOWN || index == READER_TLA_PROTECTED) {
        is_trace(2, "Unknown format in generic read\n");
        return context_.fail(index == READER_UNKNOWN ? IS_ERR_CANT_OPEN : IS_ERR_PROTECTED_TLA);
    }
    const reader_entry& reader = reader_for(index);
    const int32_t chosen = wanted_depth ? wanted_depth : suggested_depth(reader);
    depth_family family;
    if (!family_of(chosen, &family))
        return context_.fail(IS_ERR_CANT_OPEN);
    if ((family == FAMILY_1 || family == FAMILY_8) && !palette)
        return context_.fail(IS_ERR_BAD_ARGUMENT);

    is_trace(3, "Reading generic as %s%s\n", reader.name, family_suffix[family]);
    uint32_t w = 0, h = 0;
    owned_buffer buffer = read_family(reader, family, &w, &h, palette);
    if (!buffer)
        return nullptr;
    *width = w;
    *height = h;
    if (depth)
        *depth = family_depth[family];
    return buffer.release();
}

uint8_t* is_read_generic(ISSourceRecord* source, int32_t wanted_depth, uint32_t* width, uint32_t* height,
                         int32_t* depth, uint8_t* palette)
{
    if (depth)
        *depth = 0;
    return run_read_entry(source, width, height, [&](read_context& context) {
        CISGenericReadBase generic(context);
        return generic.read(wanted_depth, width, height, depth, palette);
    });
}

uint8_t* is_read_generic_rgb24(ISSourceRecord* source, uint32_t* width, uint32_t* height)
{
    return is_read_generic(source, 24, width, height, nullptr, nullptr);
}

uint8_t* is_read_generic_rgba32(ISSourceRecord* source, uint32_t* width, uint32_t* height)
{
    return is_read_generic(source, 32, width, height, nullptr, nullptr);
}
