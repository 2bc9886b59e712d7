#include "tools/cli/png_bands.h"

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
    uLong adler = 1;
    bool ok = false;
};

constexpr int png_filter_up = 2;

// Runs deflate over the pending input with the given flush, appending what
// it makes to out.
bool deflate_into(z_stream& z, png_data_stream& out, int flush)
{
    for (;;) {
        const std::span<uint8_t> room = out.room();
        z.next_out = room.data();
        z.avail_out = static_cast<uInt>(room.size());
        const int status = deflate(&z, flush);
        out.commit(room.size() - z.avail_out);
        if (status == Z_STREAM_ERROR)
            return false;
        if (flush == Z_FINISH ? status == Z_STREAM_END : z.avail_in == 0 && z.avail_out != 0)
            return true;
    }
}

void compress_band(const png_row_source& rows, band& work)
{
    z_stream z = {};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return;
    try {
        std::vector<uint8_t> above(rows.row_bytes, 0), current(rows.row_bytes), filtered(rows.row_bytes + 1);
        if (work.first_row > 0)
            rows.fill(rows.context, work.first_row - 1, above.data());
        filtered[0] = png_filter_up;
        bool ok = true;
        for (uint32_t y = work.first_row; ok && y < work.end_row; ++y) {
            rows.fill(rows.context, y, current.data());
            for (size_t i = 0; i < rows.row_bytes; ++i)
                filtered[i + 1] = (uint8_t)(current[i] - above[i]);
            work.adler = adler32(work.adler, filtered.data(), (uInt)filtered.size());
            z.next_in = filtered.data();
            z.avail_in = (uInt)filtered.size();
            ok = deflate_into(z, work.deflated, Z_NO_FLUSH);
            current.swap(above);
        }
        work.ok = ok && deflate_into(z, work.deflated, work.last ? Z_FINISH : Z_SYNC_FLUSH);
    } catch (const std::bad_alloc&) {
        work.ok = false;
    }
    deflateEnd(&z);
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
