#include "imageio/trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<is_trace_fn> g_hook{nullptr};
}

is_trace_fn is_set_trace_hook(is_trace_fn hook)
{
    return g_hook.exchange(hook);
}

void is_trace(int32_t level, const char* format, ...)
{
    const is_trace_fn hook = g_hook.load();
    if (!hook)
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    hook(level, text);
}
