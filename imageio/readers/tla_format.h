// What the TLA reader's parts share: the chunk headers, the picture's
// description, and the blocks of filtered rows.
#pragma once
#include <cstdint>
#include <vector>

#include <zlib.h>

#include "imageio/readers/tla.h"
#include "imageio/thread_state.h"

enum : uint16_t {
    TLA_CHUNK_VERSION = 100,
    TLA_CHUNK_IMAGE = 101,
    TLA_CHUNK_TAG_COUNT = 102,
    TLA_CHUNK_DATA_START = 103,
    TLA_CHUNK_PALETTE = 104,
    TLA_CHUNK_BLOCK = 106,
};

// Filter flags of a block, undone in the order Paeth, up, left.
enum : uint16_t { TLA_FILTER_LEFT = 1, TLA_FILTER_UP = 2, TLA_FILTER_PAETH = 4 };

struct tla_info {
    uint16_t width;
    uint16_t height;
    uint16_t pixel_format;
    uint16_t palette_entries;  // at most 256
    uint8_t palette[1024];     // blue, green, red, alpha; entries past the file's are 0
};

inline uint32_t tla_pixel_bytes(uint16_t pixel_format)
{
    return pixel_format;  // 1 to 4 bytes, as the format numbers run
}

// Signature, version chunk and image header. 0, or 3, 11 or 52.
int32_t tla_read_header(CISIO& io, tla_info* info);
// Palette, tag chunks (kept in *tags) and the chunk before the pixel data.
int32_t tla_read_chunks(CISIO& io, tla_info* info, ISPtrVector<CFileDataTag>* tags);

// Undoes a block's filters on rows of row_bytes bytes, in place.
void tla_unfilter(uint8_t* rows, uint32_t row_count, uint32_t row_bytes, uint32_t pixel_bytes, uint16_t filters);

// Hands out the rows of the pixel blocks one by one.
class tla_block_reader {
public:
    tla_block_reader(CISIO& io, uint32_t row_bytes, uint32_t pixel_bytes, uint32_t rows);
    ~tla_block_reader();
    tla_block_reader(const tla_block_reader&) = delete;
    tla_block_reader& operator=(const tla_block_reader&) = delete;

    // 0 when the decompressor is ready, else 8.
    int32_t start();
    // The next row, or null with *error set (3, 6 or 14).
    const uint8_t* next_row(int32_t* error);

private:
    int32_t read_block();
    int32_t inflate_block(uint32_t compressed_size, uint64_t expected);

    CISIO& io_;
    uint32_t row_bytes_;
    uint32_t pixel_bytes_;
    uint32_t rows_left_;       // picture rows not yet in a block
    z_stream stream_{};
    bool started_ = false;
    std::vector<uint8_t> block_;
    uint32_t block_rows_ = 0;
    uint32_t next_ = 0;
};
