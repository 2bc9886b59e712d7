// Helpers of the image library tests: sources over bytes or temporary files,
// reads that hand back vectors, and a capture of the trace hook.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imageio/imageio.h"

// A memory source over its own copy of the bytes, closed with the scope.
class memory_source {
public:
    explicit memory_source(std::vector<uint8_t> bytes);
    ~memory_source();
    memory_source(const memory_source&) = delete;
    memory_source& operator=(const memory_source&) = delete;
    ISSourceRecord* get() const { return source_; }

private:
    std::vector<uint8_t> bytes_;
    ISSourceRecord* source_;
};

// A file of the given name in a fresh temporary folder, removed with the scope.
class temp_file {
public:
    temp_file(const std::string& name, const std::vector<uint8_t>& bytes);
    ~temp_file();
    temp_file(const temp_file&) = delete;
    temp_file& operator=(const temp_file&) = delete;
    const char* path() const { return path_.c_str(); }

private:
    std::string folder_;
    std::string path_;
};

// The outcome of one read: the buffer's bytes (copied, the buffer freed),
// whether there was a buffer, the size and the thread's last error.
struct read_result {
    bool has_buffer = false;
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t depth = 0;
    int32_t error = 0;
    std::vector<uint8_t> palette = std::vector<uint8_t>(1024, 0xCD);
};

// Bytes a buffer holds for the size and depth (packed rows).
uint64_t buffer_bytes(uint32_t width, uint32_t height, int32_t depth);

read_result read_bmp(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0, bool with_palette = true);
read_result read_generic(ISSourceRecord* source, int32_t wanted_depth);
read_result read_generic(const std::vector<uint8_t>& file, int32_t wanted_depth);

// Collects the trace messages while alive.
class trace_capture {
public:
    trace_capture();
    ~trace_capture();
    const std::vector<std::string>& messages() const;
    bool contains(const std::string& text) const;
};
