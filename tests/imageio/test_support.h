// Helpers of the image library tests: sources over bytes or temporary files,
// a capture of the trace hook and an abort callback that stops at a step.
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

// Collects the trace messages while alive.
class trace_capture {
public:
    trace_capture();
    ~trace_capture();
    const std::vector<std::string>& messages() const;
    bool contains(const std::string& text) const;
};

// Returns 0 (stop) at the given step, 1 before it; set with is_set_abort_callback.
struct abort_at {
    int32_t step;
    int32_t calls = 0;
};
int32_t abort_at_step(int32_t step, int32_t total, void* user);
