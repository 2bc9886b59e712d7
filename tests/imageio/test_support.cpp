#include "tests/imageio/test_support.h"

#include "imageio/trace.h"
#include "tests/writers/write_file.h"

#include <cstdio>
#include <cstdlib>
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
    write_file(path_, bytes);
}

temp_file::~temp_file()
{
    std::remove(path_.c_str());
    rmdir(folder_.c_str());
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

int32_t abort_at_step(int32_t step, int32_t, void* user)
{
    abort_at* at = static_cast<abort_at*>(user);
    ++at->calls;
    return step == at->step ? 0 : 1;
}
