#include "tests/writers/gif_writer.h"

#include "tests/writers/byte_output.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// Size code t of a table of 2 << t entries holding n colours.
uint8_t table_code(size_t n)
{
    uint8_t t = 0;
    while ((2u << t) < n && t < 7)
        ++t;
    return t;
}

void put_table(std::vector<uint8_t>& out, const std::vector<uint32_t>& table)
{
    const size_t entries = 2u << table_code(table.size());
    for (size_t i = 0; i < entries; ++i) {
        const uint32_t c = i < table.size() ? table[i] : 0;
        out.push_back((uint8_t)(c >> 16));
        out.push_back((uint8_t)(c >> 8));
        out.push_back((uint8_t)c);
    }
}

void put_sub_blocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes, uint32_t block_size)
{
    for (size_t at = 0; at < bytes.size(); at += block_size) {
        const size_t n = std::min<size_t>(block_size, bytes.size() - at);
        out.push_back((uint8_t)n);
        out.insert(out.end(), bytes.begin() + at, bytes.begin() + at + n);
    }
    out.push_back(0);
}

class bit_packer {
public:
    void put(uint32_t code, uint32_t width)
    {
        bits_ |= code << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back((uint8_t)bits_);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::vector<uint8_t> finish()
    {
        if (count_)
            bytes_.push_back((uint8_t)bits_);
        return bytes_;
    }

private:
    std::vector<uint8_t> bytes_;
    uint32_t bits_ = 0;
    uint32_t count_ = 0;
};

}  // namespace

std::vector<uint8_t> gif_lzw_encode(const std::vector<uint8_t>& pixels, uint8_t min_code_size, bool clear_when_full)
{
    const uint32_t clear = 1u << min_code_size;
    bit_packer out;
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> strings;
    uint32_t width = 0, decoder_free = 0, next_code = 0;
    bool decoder_has_previous = false;
    // The code width follows the decoder, whose table runs one entry behind.
    auto send = [&](uint32_t code) {
        out.put(code, width);
        if (decoder_has_previous && decoder_free < 4096 && ++decoder_free == (1u << width) && width < 12)
            ++width;
        decoder_has_previous = true;
    };
    auto send_clear = [&] {
        out.put(clear, width ? width : min_code_size + 1u);
        width = min_code_size + 1u;
        decoder_free = next_code = clear + 2;
        decoder_has_previous = false;
        strings.clear();
    };
    send_clear();
    if (!pixels.empty()) {
        uint32_t current = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            const auto key = std::make_pair(current, pixels[i]);
            const auto known = strings.find(key);
            if (known != strings.end()) {
                current = known->second;
                continue;
            }
            send(current);
            if (next_code < 4096)
                strings[key] = next_code++;
            else if (clear_when_full)
                send_clear();
            current = pixels[i];
        }
        send(current);
    }
    out.put(clear + 1, width);
    return out.finish();
}

std::vector<uint8_t> gif_pack_codes(const std::vector<uint32_t>& codes, uint32_t width)
{
    bit_packer out;
    for (uint32_t code : codes)
        out.put(code, width);
    return out.finish();
}

std::vector<uint8_t> gif_interlace(const std::vector<uint8_t>& rows, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> stored;
    const uint32_t first[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (uint32_t y = first[pass]; y < height; y += step[pass])
            stored.insert(stored.end(), rows.begin() + (size_t)y * width, rows.begin() + (size_t)(y + 1) * width);
    return stored;
}

std::vector<uint8_t> make_gif(const gif_recipe& recipe)
{
    std::vector<uint8_t> out;
    for (char c : "GIF" + recipe.version)
        out.push_back((uint8_t)c);
    const gif_frame* first = recipe.frames.empty() ? nullptr : &recipe.frames[0];
    append_le16(out, recipe.screen_width ? recipe.screen_width : first ? first->width : 1);
    append_le16(out, recipe.screen_height ? recipe.screen_height : first ? first->height : 1);
    out.push_back(recipe.global_table.empty() ? 0 : (uint8_t)(0x80 | 0x70 | table_code(recipe.global_table.size())));
    out.push_back(0);  // background
    out.push_back(0);  // aspect
    if (!recipe.global_table.empty())
        put_table(out, recipe.global_table);
    if (recipe.loop_count >= 0) {
        out.insert(out.end(), {0x21, 0xFF, 11});
        for (char c : std::string("NETSCAPE2.0"))
            out.push_back((uint8_t)c);
        out.insert(out.end(), {3, 1});
        append_le16(out, (uint32_t)recipe.loop_count);
        out.push_back(0);
    }
    if (!recipe.comment.empty()) {
        out.insert(out.end(), {0x21, 0xFE});
        put_sub_blocks(out, std::vector<uint8_t>(recipe.comment.begin(), recipe.comment.end()), 255);
    }
    for (const gif_frame& frame : recipe.frames) {
        if (frame.graphic_control || frame.transparent >= 0) {
            out.insert(out.end(), {0x21, 0xF9, 4, (uint8_t)(frame.transparent >= 0 ? 0x09 : 0x08), 10, 0,
                                   (uint8_t)(frame.transparent >= 0 ? frame.transparent : 0), 0});
        }
        out.push_back(0x2C);
        append_le16(out, frame.left);
        append_le16(out, frame.top);
        append_le16(out, frame.width);
        append_le16(out, frame.height);
        uint8_t flags = frame.interlaced ? 0x40 : 0;
        if (!frame.local_table.empty())
            flags |= 0x80 | table_code(frame.local_table.size());
        out.push_back(flags);
        if (!frame.local_table.empty())
            put_table(out, frame.local_table);
        out.push_back(frame.min_code_size);
        const std::vector<uint8_t> data = frame.data.empty()
                                              ? gif_lzw_encode(frame.pixels, frame.min_code_size, frame.clear_when_full)
                                              : frame.data;
        put_sub_blocks(out, data, frame.block_size);
    }
    out.push_back(0x3B);
    return out;
}
