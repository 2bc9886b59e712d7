// The library's trace hook: readers report what they meet as a level and a
// printf-style message. Without a hook the messages are discarded.
#pragma once
#include <cstdint>

using is_trace_fn = void (*)(int32_t level, const char* text);

// Installs the hook (null restores the default, which discards); returns the
// previous one. Meant for tests and diagnostics.
is_trace_fn is_set_trace_hook(is_trace_fn hook);

void is_trace(int32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));
