// A source read through a block buffer, for readers that take their data a
// byte or a few bytes at a time. The source's own position runs ahead of
// what has been handed out.
#pragma once
#include <cstdint>
#include <cstring>

#include "imageio/source.h"

class byte_stream {
public:
    explicit byte_stream(CISIO& io) : io_(io) {}
    byte_stream(const byte_stream&) = delete;
    byte_stream& operator=(const byte_stream&) = delete;

    // False at the end of the data.
    bool next(uint8_t* byte)
    {
        if (at_ == got_ && !refill())
            return false;
        *byte = block_[at_++];
        return true;
    }

    // Copies count bytes to out (or drops them when out is null); false when
    // the data ends first.
    bool read(uint8_t* out, uint64_t count)
    {
        while (count > 0) {
            if (at_ == got_ && !refill())
                return false;
            const uint32_t available = got_ - at_;
            const uint32_t part = count < available ? (uint32_t)count : available;
            if (out) {
                std::memcpy(out, block_ + at_, part);
                out += part;
            }
            at_ += part;
            count -= part;
        }
        return true;
    }

    bool skip(uint64_t count) { return read(nullptr, count); }

private:
    bool refill()
    {
        got_ = io_.read(block_, sizeof block_);
        at_ = 0;
        return got_ > 0;
    }

    CISIO& io_;
    uint8_t block_[4096];
    uint32_t at_ = 0;
    uint32_t got_ = 0;
};
