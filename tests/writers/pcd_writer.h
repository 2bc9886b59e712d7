// Builds Photo CD image packs in memory for the tests and the fuzz seeds:
// the header sectors, the stored planes of resolutions 1 to 3, and
// Huffman-coded differences for resolutions 4 and 5.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

struct pcd_code {
    int length;         // 1 to 16 bits
    uint16_t code;      // in the low `length` bits
    int difference;
};

// The codes the writer uses by default: 0 is one bit, small steps three.
std::vector<pcd_code> pcd_default_codes();

// A difference the writer codes as bits that match no entry of its tables.
constexpr int pcd_unmatched_difference = 999;

struct pcd_diff_row {
    uint32_t row;                // luma row; chroma rows are row / 2
    int plane;                   // as stored: 0 luma, 2 C1, 3 C2 (others for damaged files)
    std::vector<int> differences{};
};

struct pcd_differences {
    std::vector<std::vector<pcd_code>> tables{};  // one (resolution 4) or three (5)
    std::vector<pcd_diff_row> rows{};
    uint32_t end_row;                           // the row number of the closing header
};

struct pcd_stream {
    std::vector<uint8_t> bytes{};
    uint32_t end_sync;       // offset of the closing sync mark
};

// Tables, then each row behind a byte-aligned sync mark and its header,
// then the closing header.
pcd_stream encode_pcd_differences(const pcd_differences& differences);

struct pcd_recipe {
    bool overview = false;
    int rotation = 0;
    int stored = 3;       // stored resolutions written: 1 to 3
    // Value of plane 0 (luma), 1 (C1) or 2 (C2) at (x, y) of a stored
    // resolution; chroma coordinates are at half size.
    std::function<uint8_t(int resolution, int plane, uint32_t x, uint32_t y)> base{};
    std::vector<pcd_diff_row> res4_rows{}; // written when has_res4
    bool has_res4 = false;
    std::vector<pcd_diff_row> res5_rows{};
    bool has_res5 = false;
};

std::vector<uint8_t> make_pcd(const pcd_recipe& recipe);

// Luma, C1 and C2 of every stored pixel: neutral grey of the given luma.
uint8_t pcd_grey_base(int plane, uint8_t luma);
