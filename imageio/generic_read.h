// The generic read: detect the format, choose the depth, run the one reader
// that serves it and convert its result where the reader cannot deliver the
// depth itself.
#pragma once
#include <cstdint>

#include "imageio/reader_table.h"

class CISGenericReadBase {
public:
    // Parks the thread's saved callback block and clears it for the read.
    explicit CISGenericReadBase(read_context& context);
    ~CISGenericReadBase();
    CISGenericReadBase(const CISGenericReadBase&) = delete;
    CISGenericReadBase& operator=(const CISGenericReadBase&) = delete;

    // wanted_depth 0 lets the header decide. On failure null, with
    // context.error set and width, height and depth 0.
    uint8_t* read(int32_t wanted_depth, uint32_t* width, uint32_t* height, int32_t* depth, uint8_t* palette);

private:
    int32_t suggested_depth(const reader_entry& reader);
    owned_buffer read_family(const reader_entry& reader, depth_family family, uint32_t* width, uint32_t* height,
                             uint8_t* palette);

    read_context& context_;
    uint8_t parked_[is_saved_callback_block_size];
};

// Expansions of one buffer into a new one (the old one is left to the
// caller); empty when the new buffer cannot be had.
owned_buffer expand_indexed_to_rgb(const uint8_t* indices, uint32_t width, uint32_t height, const uint8_t* palette);
owned_buffer expand_rgb_to_rgba(const uint8_t* rgb, uint32_t width, uint32_t height);
