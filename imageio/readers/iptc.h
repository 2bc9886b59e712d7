// Photoshop-style image resource blocks ("8BIM", an ID, a name, sized data),
// as the PSD reader keeps them and as JPEG markers carry them. The IPTC
// record is the block with ID 1028.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t iptc_resource_id = 1028;
constexpr uint16_t resolution_resource_id = 1005;

struct image_resource {
    uint16_t id;
    std::string name;
    std::vector<uint8_t> data;
};

// Moves *cursor to the next "8BIM" at or after it; false when there is none.
bool iptc_find_block(const uint8_t* buffer, uint32_t length, uint32_t* cursor);

// Big-endian numbers at *cursor, advancing it; false (cursor unchanged) when
// the number would run past the end.
bool iptc_read_be16(const uint8_t* buffer, uint32_t length, uint32_t* cursor, uint16_t* value);
bool iptc_read_be32(const uint8_t* buffer, uint32_t length, uint32_t* cursor, uint32_t* value);

// Appends every resource block of the buffer to *out, or only those whose ID
// is in *wanted when it is given. False, with the blocks before it kept, when
// a block runs past the end of the buffer.
bool parse_image_resources(const uint8_t* buffer, uint32_t length, std::vector<image_resource>* out,
                           const std::vector<uint16_t>* wanted = nullptr);
