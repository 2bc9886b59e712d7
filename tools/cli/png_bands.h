// The image data of a PNG (the zlib stream its IDAT chunks carry), made fast
// for the large sheets tilora-cli pages writes: every row filtered with "Up"
// (the difference to the row above), the rows cut into bands that are
// compressed side by side by the storage acceleration library's fast deflate
// (level 1, several times zlib's fastest level for files a little larger),
// and the bands joined into one zlib stream, each but the last ended by a
// flush to a byte boundary. The pixels come back exactly as they went in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct png_row_source {
    uint32_t height;
    size_t row_bytes;  // without the filter byte
    // Fills one row of row_bytes bytes; called from several threads at once.
    void (*fill)(const void* context, uint32_t y, uint8_t* row);
    const void* context;
};

// The stream as consecutive pieces of fixed-size blocks, so that it never
// needs one large buffer that grows by copying: each piece can go out as one
// IDAT chunk.
class png_data_stream {
public:
    // Free room at the end of the last block, a fresh block when it is full.
    std::span<uint8_t> room();
    // Takes the first count bytes of the last room() as written.
    void commit(size_t count) { pieces_.back() = {pieces_.back().data(), pieces_.back().size() + count}; }
    void append(const uint8_t* bytes, size_t count);
    // Moves the other stream's pieces behind this one's.
    void splice(png_data_stream&& other);
    const std::vector<std::span<const uint8_t>>& pieces() const { return pieces_; }
    size_t size() const;

private:
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    std::vector<std::span<const uint8_t>> pieces_;  // the used part of each block
};

// The zlib stream, or false when zlib cannot be set up or memory runs out.
// bands 0 chooses one band a processor.
bool compress_png_rows(const png_row_source& rows, png_data_stream* stream, unsigned bands = 0);
