#include "tools/cli/png_bands.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

namespace {

struct band {
    uint32_t first_row;
    uint32_t end_row;
    bool last;
    std::vector<uint8_t> deflated;  // raw deflate data, byte-aligned at its end
    uLong adler = 1;
    bool ok = false;
};

constexpr int png_filter_up = 2;

// Runs deflate over the pending input with the given flush, appending what
// it makes to out.
bool deflate_into(z_stream& z, std::vector<uint8_t>& out, int flush)
{
    for (;;) {
        // Room for the next piece of output; the vector grows geometrically.
        const size_t before = out.size();
        const uInt room = static_cast<uInt>(std::max<size_t>(65536, std::min<size_t>(before, 1 << 26)));
        out.resize(before + room);
        z.next_out = out.data() + before;
        z.avail_out = room;
        const int status = deflate(&z, flush);
        out.erase(out.end() - z.avail_out, out.end());
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

bool compress_png_rows(const png_row_source& rows, std::vector<uint8_t>* stream, unsigned bands)
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

    size_t total = 6;
    for (const band& b : work) {
        if (!b.ok)
            return false;
        total += b.deflated.size();
    }
    stream->clear();
    stream->reserve(total);
    stream->push_back(0x78);  // deflate, 32K window
    stream->push_back(0x01);  // fastest level; header check bits
    uLong adler = 1;
    const size_t filtered_row = rows.row_bytes + 1;
    for (const band& b : work) {
        stream->insert(stream->end(), b.deflated.begin(), b.deflated.end());
        adler = adler32_combine(adler, b.adler, (z_off_t)((uint64_t)(b.end_row - b.first_row) * filtered_row));
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        stream->push_back((uint8_t)(adler >> shift));
    return true;
}
