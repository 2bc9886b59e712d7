// Decoding of the channel planes of a PSD picture, raw or run-length packed.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/psd_format.h"
#include "imageio/trace.h"

#include <cstring>
#include <vector>

namespace {

// Bytes of one row of one channel as stored unpacked.
uint64_t stored_row_bytes(const psd_header& header)
{
    switch (header.bits) {
    case 1: return ((uint64_t)header.width + 7) / 8;
    case 16: return (uint64_t)header.width * 2;
    default: return header.width;
    }
}

// Puts one unpacked row of one channel into the output as 8-bit samples.
void scatter_row(const psd_header& header, const uint8_t* row, uint8_t* out, uint32_t pixel_bytes)
{
    const uint32_t width = header.width;
    for (uint32_t x = 0; x < width; ++x, out += pixel_bytes) {
        switch (header.bits) {
        case 1: *out = row[x >> 3] >> (7 - (x & 7)) & 1; break;
        case 16: *out = row[2 * x]; break;  // big-endian: the high byte comes first
        default: *out = row[x]; break;
        }
    }
}

// The byte counts of the packed rows of the first `planes` channels; the
// counts of further channels are skipped. 0 or the error.
int32_t read_row_counts(CISIO& io, const psd_header& header, uint32_t planes, std::vector<uint16_t>* counts)
{
    const uint64_t used = (uint64_t)planes * header.height;
    const uint64_t all = (uint64_t)header.channels * header.height;
    uint64_t bytes = 0;
    if (!is_buffer_size(used, 2, &bytes))
        return IS_ERR_NO_MEMORY;
    const int64_t size = io.size(), here = io.tell();
    if (size >= 0 && here >= 0 && (int64_t)bytes > size - here)
        return IS_ERR_READ;
    std::vector<uint8_t> stored(bytes);
    if (!io.read_exactly(stored.data(), (uint32_t)bytes))
        return IS_ERR_READ;
    counts->resize(used);
    for (uint64_t i = 0; i < used; ++i)
        (*counts)[i] = be16(stored.data() + 2 * i);
    if (all > used && !io.seek((int64_t)((all - used) * 2), 1))
        return IS_ERR_READ;
    return IS_OK;
}

}  // namespace

int32_t psd_unpack_row(const uint8_t* in, uint32_t count, uint8_t* out, uint32_t out_bytes)
{
    uint32_t i = 0, o = 0;
    bool last_was_repeat = false;
    while (o < out_bytes) {
        if (i >= count)
            return IS_ERR_READ;
        const int8_t n = (int8_t)in[i++];
        if (n >= 0) {
            const uint32_t length = (uint32_t)n + 1;
            if (count - i < length)
                return IS_ERR_READ;
            const uint32_t fits = length < out_bytes - o ? length : out_bytes - o;
            std::memcpy(out + o, in + i, fits);
            o += fits;
            i += length;
            last_was_repeat = false;
        } else if (n != -128) {
            const uint32_t length = 1u - n;
            if (i >= count)
                return IS_ERR_READ;
            const uint32_t fits = length < out_bytes - o ? length : out_bytes - o;
            std::memset(out + o, in[i++], fits);
            o += fits;
            last_was_repeat = true;
        }
    }
    if (i < count)
        is_trace(2, last_was_repeat ? "RLE Row Size Mismatch in PSD decode [1].\n"
                                    : "RLE Row Size Mismatch in PSD decode [2].\n");
    return IS_OK;
}

void psd_decode_planes(read_context& context, const psd_header& header, uint16_t compression, uint8_t* out,
                       uint32_t pixel_bytes, uint32_t planes)
{
    CISIO& io = context.io;
    const uint64_t row_bytes = stored_row_bytes(header);
    if (row_bytes > is_buffer_limit()) {
        context.error = IS_ERR_NO_MEMORY;
        return;
    }
    std::vector<uint16_t> counts;
    if (compression == PSD_RUN_LENGTH) {
        if (header.bits != 8 && header.bits != 1) {
            context.error = IS_ERR_PSD_UNSUPPORTED;
            return;
        }
        if (int32_t error = read_row_counts(io, header, planes, &counts)) {
            context.error = error;
            return;
        }
    }
    std::vector<uint8_t> row(row_bytes);
    std::vector<uint8_t> packed(compression == PSD_RUN_LENGTH ? 65535 : 0);
    const uint64_t out_row = (uint64_t)header.width * pixel_bytes;
    const uint32_t total = planes * header.height;
    for (uint32_t c = 0; c < planes; ++c) {
        for (uint32_t y = 0; y < header.height; ++y) {
            if (compression == PSD_RUN_LENGTH) {
                const uint16_t count = counts[(uint64_t)c * header.height + y];
                if (!io.read_exactly(packed.data(), count)) {
                    context.error = IS_ERR_READ;
                    return;
                }
                if (int32_t error = psd_unpack_row(packed.data(), count, row.data(), (uint32_t)row_bytes)) {
                    context.error = error;
                    return;
                }
            } else if (!io.read_exactly(row.data(), (uint32_t)row_bytes)) {
                context.error = IS_ERR_READ;
                return;
            }
            scatter_row(header, row.data(), out + y * out_row + c, pixel_bytes);
            if (context.cancelled(c * header.height + y + 1, total))
                return;
        }
    }
}
