// TLA pixel blocks: the block header, inflation of the whole block and the
// prediction filters.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/tla_format.h"

#include <cstdlib>
#include <new>

namespace {

uint8_t paeth(uint8_t left, uint8_t above, uint8_t above_left)
{
    const int p = left + above - above_left;
    const int to_left = std::abs(p - left), to_above = std::abs(p - above), to_corner = std::abs(p - above_left);
    if (to_left <= to_above && to_left <= to_corner)
        return left;
    return to_above <= to_corner ? above : above_left;
}

constexpr uint32_t input_chunk = 64 * 1024;

}  // namespace

void tla_unfilter(uint8_t* rows, uint32_t row_count, uint32_t row_bytes, uint32_t pixel_bytes, uint16_t filters)
{
    if (filters & TLA_FILTER_PAETH) {
        for (uint32_t y = 1; y < row_count; ++y) {
            uint8_t* row = rows + (uint64_t)y * row_bytes;
            const uint8_t* above = row - row_bytes;
            for (uint32_t i = pixel_bytes; i < row_bytes; ++i)
                row[i] = (uint8_t)(row[i] + paeth(row[i - pixel_bytes], above[i], above[i - pixel_bytes]));
        }
    }
    if (filters & TLA_FILTER_UP) {
        for (uint32_t y = 1; y < row_count; ++y) {
            uint8_t* row = rows + (uint64_t)y * row_bytes;
            const uint8_t* above = row - row_bytes;
            for (uint32_t i = 0; i < row_bytes; ++i)
                row[i] = (uint8_t)(row[i] + above[i]);
        }
    }
    if (filters & TLA_FILTER_LEFT) {
        for (uint32_t y = 0; y < row_count; ++y) {
            uint8_t* row = rows + (uint64_t)y * row_bytes;
            for (uint32_t i = pixel_bytes; i < row_bytes; ++i)
                row[i] = (uint8_t)(row[i] + row[i - pixel_bytes]);
        }
    }
}

tla_block_reader::tla_block_reader(CISIO& io, uint32_t row_bytes, uint32_t pixel_bytes, uint32_t rows)
    : io_(io), row_bytes_(row_bytes), pixel_bytes_(pixel_bytes), rows_left_(rows)
{
}

tla_block_reader::~tla_block_reader()
{
    if (started_)
        inflateEnd(&stream_);
}

int32_t tla_block_reader::start()
{
    started_ = inflateInit(&stream_) == Z_OK;
    return started_ ? IS_OK : IS_ERR_ZLIB_INIT;
}

const uint8_t* tla_block_reader::next_row(int32_t* error)
{
    if (next_ == block_rows_) {
        if (int32_t e = read_block()) {
            *error = e;
            return nullptr;
        }
    }
    return block_.data() + (uint64_t)row_bytes_ * next_++;
}

int32_t tla_block_reader::read_block()
{
    uint8_t h[7 + 8];
    if (!io_.read_exactly(h, sizeof h) || le16(h + 1) != TLA_CHUNK_BLOCK)
        return IS_ERR_TLA_NO_BLOCK;
    if (le32(h + 3) != 8)
        return IS_ERR_READ;
    const uint32_t compressed_size = le32(h + 7);
    const uint16_t rows = le16(h + 11);
    const uint16_t filters = le16(h + 13);
    if (rows == 0)
        return IS_ERR_TLA_NO_BLOCK;
    // A block never holds more rows than the picture has left.
    if (rows > rows_left_)
        return IS_ERR_READ;
    uint64_t expected = 0;
    if (!is_buffer_size(rows, row_bytes_, &expected))
        return IS_ERR_TLA_NO_MEMORY;
    if (int32_t error = inflate_block(compressed_size, expected))
        return error;
    tla_unfilter(block_.data(), rows, row_bytes_, pixel_bytes_, filters);
    rows_left_ -= rows;
    block_rows_ = rows;
    next_ = 0;
    return IS_OK;
}

int32_t tla_block_reader::inflate_block(uint32_t compressed_size, uint64_t expected)
{
    try {
        // One byte more than the rows need, so that an overlong stream shows.
        block_.assign(expected + 1, 0);
    } catch (const std::bad_alloc&) {
        return IS_ERR_TLA_NO_MEMORY;
    }
    if (inflateReset(&stream_) != Z_OK)
        return IS_ERR_ZLIB_INIT;
    uint8_t input[input_chunk];
    uint32_t left = compressed_size;
    stream_.next_out = block_.data();
    stream_.avail_out = (uInt)block_.size();
    int result = Z_OK;
    while (result != Z_STREAM_END && stream_.avail_out > 0) {
        if (stream_.avail_in == 0) {
            if (left == 0)
                return IS_ERR_READ;
            const uint32_t part = left < input_chunk ? left : input_chunk;
            if (!io_.read_exactly(input, part))
                return IS_ERR_READ;
            left -= part;
            stream_.next_in = input;
            stream_.avail_in = part;
        }
        result = inflate(&stream_, Z_NO_FLUSH);
        if (result == Z_MEM_ERROR)
            return IS_ERR_TLA_NO_MEMORY;
        if (result != Z_OK && result != Z_STREAM_END && !(result == Z_BUF_ERROR && stream_.avail_in == 0))
            return IS_ERR_READ;
    }
    // The inflated rows must fill the block exactly.
    if (result != Z_STREAM_END || stream_.total_out != expected)
        return IS_ERR_READ;
    // Bytes the stream did not need still belong to the block.
    return left == 0 || io_.skip(left) ? IS_OK : IS_ERR_READ;
}
