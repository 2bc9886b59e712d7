#include "imageio/buffer.h"

#include "imageio/platform.h"
#include "imageio/thread_state.h"

#include <atomic>

namespace {
std::atomic<uint64_t> g_limit{is_max_buffer_bytes};
}

uint64_t is_buffer_limit()
{
    return g_limit.load();
}

void is_set_buffer_limit(uint64_t limit)
{
    g_limit = (limit == 0 || limit > is_max_buffer_bytes) ? is_max_buffer_bytes : limit;
}

bool is_buffer_size(uint64_t a, uint64_t b, uint64_t c, uint64_t* out)
{
    uint64_t ab = 0, abc = 0;
    if (__builtin_mul_overflow(a, b, &ab) || __builtin_mul_overflow(ab, c, &abc) || abc > is_buffer_limit()) {
        if (ISThreadState* state = is_thread_state())
            state->refused_buffer_bytes = abc > is_buffer_limit() ? abc : UINT64_MAX;
        return false;
    }
    *out = abc;
    return true;
}

uint8_t* is_alloc_buffer(uint64_t size)
{
    if (size > is_buffer_limit())
        return nullptr;
    return static_cast<uint8_t*>(is_global_alloc(size));
}

void is_free_buffer(void* buffer)
{
    is_global_free(buffer);
}

owned_buffer alloc_pixels(uint64_t row_bytes, uint64_t rows)
{
    uint64_t bytes = 0;
    if (!is_buffer_size(row_bytes, rows, &bytes))
        return owned_buffer();
    return owned_buffer(is_alloc_buffer(bytes));
}
