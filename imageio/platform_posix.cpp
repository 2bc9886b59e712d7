#include "imageio/platform.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

void* is_global_alloc(uint64_t size)
{
    if (size > SIZE_MAX)
        return nullptr;
    return std::calloc(size ? (size_t)size : 1, 1);
}

void is_global_free(void* block)
{
    std::free(block);
}

void* is_global_realloc(void* block, uint64_t size)
{
    if (size > SIZE_MAX)
        return nullptr;
    return std::realloc(block, size ? (size_t)size : 1);
}

namespace {
thread_local void* t_state = nullptr;
std::atomic<bool> g_slot_released{false};
std::atomic<bool> g_lock_destroyed{false};

// Never destroyed, so that the lock stays usable while other static objects
// are torn down.
std::mutex& lock_object()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}
}  // namespace

bool thread_slot_ready()
{
    return !g_slot_released;
}

void* thread_slot_get()
{
    return g_slot_released ? nullptr : t_state;
}

bool thread_slot_set(void* state, uint32_t* os_error)
{
    if (g_slot_released) {
        if (os_error)
            *os_error = 0;
        return false;
    }
    t_state = state;
    return true;
}

void thread_slot_release()
{
    g_slot_released = true;
}

void registry_lock()
{
    if (!g_lock_destroyed)
        lock_object().lock();
}

void registry_unlock()
{
    if (!g_lock_destroyed)
        lock_object().unlock();
}

void registry_lock_destroy()
{
    g_lock_destroyed = true;
}

FILE* open_file_for_reading(const char* name)
{
    return std::fopen(name, "rb");
}
