#include "tools/cli/png_bands.h"

#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

namespace {

// Large enough that deflate rarely stops for room, small enough that the
// heap reuses the blocks of the previous sheet instead of mapping fresh
// memory for each.
constexpr size_t block_bytes = size_t(1) << 20;

struct band {
    uint32_t first_row;
    uint32_t end_row;
    bool last;
    png_data_stream deflated;  // raw deflate data, byte-aligned at its end
    uLong adler = 1;           // of the band's filtered rows
    bool ok = false;
};

constexpr int png_filter_up = 2;

// Runs the compressor over the pending input, appending what it makes to out,
// until the input is used up and, with a flush or at the stream's end, the
// flush or the end is written.
bool deflate_into(isal_zstream& z, png_data_stream& out)
{
    for (;;) {
        const std::span<uint8_t> room = out.room();
        z.next_out = room.data();
        z.avail_out = static_cast<uint32_t>(room.size());
        const int status = isal_deflate(&z);
        out.commit(room.size() - z.avail_out);
        if (status != COMP_OK)
            return false;
        if (z.avail_in != 0)
            continue;
        if (z.end_of_stream ? z.internal_state.state == ZSTATE_END
                            : z.flush == NO_FLUSH || z.internal_state.state == ZSTATE_NEW_HDR)
            return true;
    }
}

void compress_band(const png_row_source& rows, band& work)
{
    try {
        std::vector<uint8_t> level_buffer(ISAL_DEF_LVL1_DEFAULT);
        isal_zstream z;
        isal_deflate_init(&z);
        z.level = 1;
        z.level_buf = level_buffer.data();
        z.level_buf_size = static_cast<uint32_t>(level_buffer.size());
        z.gzip_flag = IGZIP_DEFLATE;
        std::vector<uint8_t> above(rows.row_bytes, 0), current(rows.row_bytes), filtered(rows.row_bytes + 1);
        if (work.first_row > 0)
            rows.fill(rows.context, work.first_row - 1, above.data());
        filtered[0] = png_filter_up;
        bool ok = true;
        for (uint32_t y = work.first_row; ok && y < work.end_row; ++y) {
            rows.fill(rows.context, y, current.data());
            for (size_t i = 0; i < rows.row_bytes; ++i)
                filtered[i + 1] = (uint8_t)(current[i] - above[i]);
            work.adler = isal_adler32((uint32_t)work.adler, filtered.data(), filtered.size());
            z.next_in = filtered.data();
            z.avail_in = (uint32_t)filtered.size();
            ok = deflate_into(z, work.deflated);
            current.swap(above);
        }
        // The last band ends the stream; the others end on a byte boundary,
        // where the next band's data goes on.
        z.avail_in = 0;
        z.end_of_stream = work.last ? 1 : 0;
        z.flush = work.last ? NO_FLUSH : SYNC_FLUSH;
        work.ok = ok && deflate_into(z, work.deflated);
    } catch (const std::bad_alloc&) {
        work.ok = false;
    }
}

}  // namespace

std::span<uint8_t> png_data_stream::room()
{
    if (pieces_.empty() || pieces_.back().size() == block_bytes) {
        blocks_.emplace_back(new uint8_t[block_bytes]);
        pieces_.emplace_back(blocks_.back().get(), 0);
    }
    return {blocks_.back().get() + pieces_.back().size(), block_bytes - pieces_.back().size()};
}

void png_data_stream::append(const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        const std::span<uint8_t> free = room();
        const size_t part = std::min(count, free.size());
        std::memcpy(free.data(), bytes, part);
        commit(part);
        bytes += part;
        count -= part;
    }
}

void png_data_stream::splice(png_data_stream&& other)
{
    for (auto& block : other.blocks_)
        blocks_.push_back(std::move(block));
    pieces_.insert(pieces_.end(), other.pieces_.begin(), other.pieces_.end());
    other.blocks_.clear();
    other.pieces_.clear();
}

size_t png_data_stream::size() const
{
    size_t total = 0;
    for (const std::span<const uint8_t>& piece : pieces_)
        total += piece.size();
    return total;
}

bool compress_png_rows(const png_row_source& rows, png_data_stream* stream, unsigned bands)
{
    if (bands == 0)
        bands = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    // Bands of fewer than 64 rows are not worth a thread.
    bands = std::max(1u, std::min<unsigned>(bands, rows.height / 64));
    std::vector<band> work(bands);
    for (unsigned i = 0; i < bands; ++i) {
        work[i].first_row = (uint32_t)((uint64_t)rows.height * i / bands);
        work[i].end_row = (uint32_t)((uint64_t)rows.height * (i + 1) / bands);
        work[i].last = i + 1 == bands;
    }
    try {
        const uint8_t header[2] = {0x78, 0x01};  // deflate, 32K window, fastest level; header check bits
        work[0].deflated.append(header, sizeof header);
    } catch (const std::bad_alloc&) {
        return false;
    }

    std::vector<std::thread> helpers;
    unsigned inline_from = 0;
    for (unsigned i = 1; i < bands; ++i) {
        try {
            helpers.emplace_back(compress_band, std::cref(rows), std::ref(work[i]));
        } catch (const std::system_error&) {
            inline_from = i;  // no more threads: the rest is done here
            break;
        }
    }
    compress_band(rows, work[0]);
    if (inline_from)
        for (unsigned i = inline_from; i < bands; ++i)
            compress_band(rows, work[i]);
    for (std::thread& helper : helpers)
        helper.join();

    for (const band& b : work)
        if (!b.ok)
            return false;
    uLong adler = 1;
    const size_t filtered_row = rows.row_bytes + 1;
    try {
        for (band& b : work) {
            adler = adler32_combine(adler, b.adler, (z_off_t)((uint64_t)(b.end_row - b.first_row) * filtered_row));
            stream->splice(std::move(b.deflated));
        }
        uint8_t check[4];
        for (int i = 0; i < 4; ++i)
            check[i] = (uint8_t)(adler >> (24 - 8 * i));
        stream->append(check, sizeof check);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
