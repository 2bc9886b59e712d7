// Builds TLA files in memory for the tests and the fuzz seeds: the chunks,
// a palette, tag chunks and pixel blocks filtered and compressed with zlib.
#pragma once
#include <cstdint>
#include <vector>

struct tla_block_recipe {
    uint16_t rows;
    uint16_t filters;   // 1 left, 2 up, 4 Paeth, applied by the writer
};

struct tla_recipe {
    const char* signature = "TLAU";
    uint16_t version = 1;
    uint16_t width = 1;
    uint16_t height = 1;
    uint16_t pixel_format = 3;             // 1 indexed, 2 5-5-5, 3 RGB, 4 RGBA
    int32_t palette_entries = -1;          // -1: the palette's size
    std::vector<uint32_t> palette{};       // 0xAARRGGBB
    std::vector<std::vector<uint8_t>> tags{};
    // Stored pixel bytes, top row first (2-byte words little-endian).
    std::vector<uint8_t> pixels{};
    std::vector<tla_block_recipe> blocks{};  // empty: one unfiltered block of every row
    bool prefiltered = false;              // store the pixels as given, whatever the filter flags
};

std::vector<uint8_t> make_tla(const tla_recipe& recipe);

// Applies the filters to rows as the writer does (left, then up, then Paeth
// on the result), so that the reader's undoing can be checked alone.
std::vector<uint8_t> tla_filter(const std::vector<uint8_t>& rows, uint32_t row_bytes, uint32_t pixel_bytes,
                                uint16_t filters);

// zlib data of the bytes.
std::vector<uint8_t> tla_deflate(const std::vector<uint8_t>& data);

// Appends a chunk: one byte, the type, the length, the data.
void put_tla_chunk(std::vector<uint8_t>& out, uint16_t type, const std::vector<uint8_t>& data);
// A block chunk's header and data as stored: declared size, rows, filters, bytes.
void put_tla_block(std::vector<uint8_t>& out, const std::vector<uint8_t>& compressed, uint16_t rows,
                   uint16_t filters);
