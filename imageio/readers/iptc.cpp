#include "imageio/readers/iptc.h"

#include "imageio/bytes.h"
#include "imageio/trace.h"

#include <algorithm>
#include <cstring>

bool iptc_find_block(const uint8_t* buffer, uint32_t length, uint32_t* cursor)
{
    for (uint32_t at = *cursor; length >= 4 && at <= length - 4; ++at) {
        if (std::memcmp(buffer + at, "8BIM", 4) == 0) {
            *cursor = at;
            return true;
        }
    }
    return false;
}

bool iptc_read_be16(const uint8_t* buffer, uint32_t length, uint32_t* cursor, uint16_t* value)
{
    if (*cursor > length || length - *cursor < 2)
        return false;
    *value = be16(buffer + *cursor);
    *cursor += 2;
    return true;
}

bool iptc_read_be32(const uint8_t* buffer, uint32_t length, uint32_t* cursor, uint32_t* value)
{
    if (*cursor > length || length - *cursor < 4)
        return false;
    *value = be32(buffer + *cursor);
    *cursor += 4;
    return true;
}

bool parse_image_resources(const uint8_t* buffer, uint32_t length, std::vector<image_resource>* out,
                           const std::vector<uint16_t>* wanted)
{
    uint32_t cursor = 0;
    while (iptc_find_block(buffer, length, &cursor)) {
        cursor += 4;
        uint16_t id = 0;
        uint32_t size = 0;
        bool complete = iptc_read_be16(buffer, length, &cursor, &id);
        // The name: a length byte and its characters, padded to an even count.
        uint32_t name_length = 0;
        uint32_t name_at = cursor;
        if (complete) {
            complete = cursor < length;
            if (complete) {
                name_length = buffer[cursor];
                const uint64_t padded = ((uint64_t)name_length + 2) & ~(uint64_t)1;
                complete = padded <= length - cursor;
                name_at = cursor + 1;
                if (complete)
                    cursor += (uint32_t)padded;
            }
        }
        complete = complete && iptc_read_be32(buffer, length, &cursor, &size);
        const uint64_t padded_size = ((uint64_t)size + 1) & ~(uint64_t)1;
        if (!complete || padded_size > length - cursor) {
            is_trace(2, "Found bad IPTC data resource (len exceeds block end). ID=%d\n", (int)id);
            return false;
        }
        if (!wanted || std::find(wanted->begin(), wanted->end(), id) != wanted->end()) {
            image_resource block;
            block.id = id;
            block.name.assign(reinterpret_cast<const char*>(buffer + name_at), name_length);
            block.data.assign(buffer + cursor, buffer + cursor + size);
            out->push_back(std::move(block));
        }
        cursor += (uint32_t)padded_size;
    }
    return true;
}
