// A file growing in memory, written and read at a position, for the codec
// libraries' own stream callbacks.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

struct byte_sink {
    std::vector<uint8_t> bytes;
    uint64_t position = 0;

    void write(const void* data, uint64_t count)
    {
        if (position + count > bytes.size())
            bytes.resize(position + count);
        std::memcpy(bytes.data() + position, data, count);
        position += count;
    }

    uint64_t read(void* data, uint64_t count)
    {
        const uint64_t left = position < bytes.size() ? bytes.size() - position : 0;
        const uint64_t n = count < left ? count : left;
        std::memcpy(data, bytes.data() + position, n);
        position += n;
        return n;
    }

    // Moves to a position, growing the file with zeros to reach it.
    void seek(uint64_t to)
    {
        position = to;
        if (position > bytes.size())
            bytes.resize(position);
    }
};
