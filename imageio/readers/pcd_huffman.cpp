// Huffman-coded differences of Photo CD resolutions 4 and 5: tables, then
// rows, each behind a sync mark and a row header, read sector by sector.
#include "imageio/readers/pcd.h"
#include "imageio/trace.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Bytes and bits of the difference data, a sector at a time. The window
// holds the next bits at its top; `valid` of them came from the source.
class sector_bits {
public:
    explicit sector_bits(CISIO& io) : io_(io) {}

    bool next_byte(uint8_t* byte)
    {
        if (at_ == have_) {
            if (ended_)
                return false;
            have_ = io_.read(sector_, sizeof sector_);
            at_ = 0;
            ended_ = have_ < sizeof sector_;
            if (have_ == 0)
                return false;
        }
        *byte = sector_[at_++];
        return true;
    }

    // The window, refilled to more than 24 valid bits while the source lasts.
    uint32_t peek()
    {
        uint8_t byte;
        while (valid_ <= 24 && next_byte(&byte)) {
            window_ |= (uint32_t)byte << (24 - valid_);
            valid_ += 8;
        }
        return window_;
    }

    int valid() const { return valid_; }

    void consume(int bits)
    {
        window_ = bits >= 32 ? 0 : window_ << bits;
        valid_ -= bits;
    }

private:
    CISIO& io_;
    uint8_t sector_[pcd_sector_bytes];
    uint32_t have_ = 0;
    uint32_t at_ = 0;
    bool ended_ = false;
    uint32_t window_ = 0;
    int valid_ = 0;
};

struct huffman_entry {
    int length;
    int difference;
};

// A table as a lookup on the next 16 bits: the first entry, in the table's
// order, whose code those bits begin with; -1 where none does.
struct huffman_table {
    std::vector<huffman_entry> entries;
    std::vector<int16_t> lookup;
};

// A count byte n, then n + 1 entries: code length - 1, the code in the top
// bits of 16, the signed difference.
int32_t read_table(sector_bits& bits, huffman_table* table)
{
    uint8_t count;
    if (!bits.next_byte(&count))
        return IS_ERR_READ;
    std::vector<uint16_t> codes;
    for (uint32_t i = 0; i <= count; ++i) {
        uint8_t e[4];
        for (uint8_t& byte : e)
            if (!bits.next_byte(&byte))
                return IS_ERR_READ;
        const int length = e[0] + 1;
        if (length > 16)
            return IS_ERR_BAD_PCD;
        table->entries.push_back({length, (int8_t)e[3]});
        codes.push_back((uint16_t)(e[1] << 8 | e[2]));
    }
    table->lookup.assign(65536, -1);
    // Later entries first, so that the first matching entry is the one left.
    for (uint32_t i = (uint32_t)codes.size(); i-- > 0;) {
        const uint32_t spare = 0xFFFFu >> table->entries[i].length;
        if (codes[i] & spare)
            continue;  // bits below its length: no window can match it
        std::fill(table->lookup.begin() + codes[i], table->lookup.begin() + (codes[i] | spare) + 1, (int16_t)i);
    }
    return IS_OK;
}

// Skips to the next sync mark (23 set bits and a clear one) and leaves it
// at the top of the window; false when the data ends first.
bool find_sync(sector_bits& bits)
{
    for (;;) {
        const uint32_t window = bits.peek();
        if (bits.valid() < 24)
            return false;
        if ((window & 0x00FFF000) == 0x00FFF000)
            break;
        bits.consume(8);
    }
    for (;;) {
        const uint32_t window = bits.peek();
        if (bits.valid() < 24)
            return false;
        if ((window & 0xFFFFFF00) == 0xFFFFFE00)
            return true;
        bits.consume(1);
    }
}

struct target_row {
    uint8_t* pixels;
    uint32_t length;
    const huffman_table* table;
};

}  // namespace

int32_t pcd_add_differences(read_context& context, const pcd_planes& planes, uint32_t width, uint32_t height,
                            int table_count)
{
    sector_bits bits(context.io);
    huffman_table tables[3];
    for (int t = 0; t < table_count; ++t)
        if (int32_t error = read_table(bits, &tables[t]))
            return error;

    while (find_sync(bits)) {
        // The last 16 bits of the sync mark go, then the header lies at bits
        // 23 to 7: two spare bits, the row number, the plane.
        bits.consume(16);
        const uint32_t header = bits.peek();
        if (bits.valid() < 25)
            break;
        const uint32_t row = header >> 9 & 0x1FFF;
        const uint32_t plane = header >> 7 & 3;
        if (row == height)
            break;
        // A row outside the picture has nowhere to go.
        if (row > height)
            return IS_ERR_BAD_PCD;
        target_row target;
        switch (plane) {
        case 0: target = {planes.y + (uint64_t)row * planes.stride, width, &tables[0]}; break;
        case 2: target = {planes.c1 + (uint64_t)(row / 2) * planes.stride, width / 2, &tables[table_count > 1 ? 1 : 0]}; break;
        case 3: target = {planes.c2 + (uint64_t)(row / 2) * planes.stride, width / 2, &tables[table_count > 1 ? 2 : 0]}; break;
        default: return IS_ERR_BAD_PCD;
        }
        bits.consume(25);

        // One code a pixel, never more than the row holds.
        for (uint32_t x = 0; x < target.length; ++x) {
            const uint32_t window = bits.peek();
            const int16_t index = target.table->lookup[window >> 16];
            if (index < 0) {
                is_trace(2, "Corrupt PCD image, skipping to sync byte");
                break;
            }
            const huffman_entry& entry = target.table->entries[index];
            if (entry.length > bits.valid())
                return IS_OK;  // the end of the source ends the data
            bits.consume(entry.length);
            const int sum = target.pixels[x] + entry.difference;
            target.pixels[x] = (uint8_t)(sum < 0 ? 0 : sum > 255 ? 255 : sum);
        }
    }
    return IS_OK;
}
