// Numbers appended to a file being built, in either byte order.
#pragma once
#include <cstdint>
#include <vector>

inline void append_le16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

inline void append_le32(std::vector<uint8_t>& out, uint32_t v)
{
    append_le16(out, v & 0xFFFF);
    append_le16(out, v >> 16);
}

inline void append_be16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back((uint8_t)(v >> 8));
    out.push_back((uint8_t)v);
}

inline void append_be32(std::vector<uint8_t>& out, uint32_t v)
{
    append_be16(out, v >> 16);
    append_be16(out, v & 0xFFFF);
}
