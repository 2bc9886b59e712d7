#include "tests/imageio/test_support.h"

#include "imageio/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unistd.h>

memory_source::memory_source(std::vector<uint8_t> bytes) : bytes_(std::move(bytes))
{
    source_ = is_open_memory_source(bytes_.data(), (uint32_t)bytes_.size());
}

memory_source::~memory_source()
{
    if (source_)
        is_close_source(source_);
}

temp_file::temp_file(const std::string& name, const std::vector<uint8_t>& bytes)
{
    char pattern[] = "/tmp/tilora-imageio.XXXXXX";
    folder_ = mkdtemp(pattern);
    path_ = folder_ + "/" + name;
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (f) {
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

temp_file::~temp_file()
{
    std::remove(path_.c_str());
    rmdir(folder_.c_str());
}

uint64_t buffer_bytes(uint32_t width, uint32_t height, int32_t depth)
{
    const uint64_t row = depth == 1 ? ((uint64_t)width + 7) / 8 : (uint64_t)width * (depth / 8);
    return row * height;
}

namespace {

read_result finish(uint8_t* buffer, uint64_t bytes, read_result result)
{
    result.error = is_get_last_error();
    result.has_buffer = buffer != nullptr;
    if (buffer) {
        result.pixels.assign(buffer, buffer + bytes);
        is_global_free(buffer);
    }
    return result;
}

}  // namespace

read_result read_bmp(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags, bool with_palette)
{
    memory_source source(file);
    read_result result;
    uint8_t* buffer = is_read_bmp(source.get(), &result.width, &result.height, depth,
                                  with_palette ? result.palette.data() : nullptr, flags);
    result.depth = depth;
    uint64_t bytes = buffer_bytes(result.width, result.height, depth);
    if (buffer && (flags & IS_FLAG_PACKED_DIB)) {
        // A packed bitmap states its own layout; the tests read it whole.
        const uint32_t header_image = buffer[20] | buffer[21] << 8 | buffer[22] << 16 | (uint32_t)buffer[23] << 24;
        const uint32_t used = buffer[32] | buffer[33] << 8 | buffer[34] << 16 | (uint32_t)buffer[35] << 24;
        const uint16_t bits = (uint16_t)(buffer[14] | buffer[15] << 8);
        const uint32_t compression = buffer[16] | buffer[17] << 8;
        uint32_t entries = bits <= 8 ? (used ? used : 1u << bits) : 0;
        bytes = 40 + entries * 4 + (compression == 3 ? 12 : 0) + header_image;
    }
    return finish(buffer, bytes, result);
}

read_result read_generic(ISSourceRecord* source, int32_t wanted_depth)
{
    read_result result;
    uint8_t* buffer = is_read_generic(source, wanted_depth, &result.width, &result.height, &result.depth,
                                      result.palette.data());
    return finish(buffer, buffer_bytes(result.width, result.height, result.depth), result);
}

read_result read_generic(const std::vector<uint8_t>& file, int32_t wanted_depth)
{
    memory_source source(file);
    return read_generic(source.get(), wanted_depth);
}

namespace {
std::mutex g_trace_lock;
std::vector<std::string> g_trace;

void collect(int32_t, const char* text)
{
    std::lock_guard<std::mutex> guard(g_trace_lock);
    g_trace.emplace_back(text);
}
}  // namespace

trace_capture::trace_capture()
{
    g_trace.clear();
    is_set_trace_hook(collect);
}

trace_capture::~trace_capture()
{
    is_set_trace_hook(nullptr);
}

const std::vector<std::string>& trace_capture::messages() const
{
    return g_trace;
}

bool trace_capture::contains(const std::string& text) const
{
    for (const std::string& message : g_trace)
        if (message == text)
            return true;
    return false;
}
