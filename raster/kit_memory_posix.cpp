#include "raster/kit_memory.h"

#include <sys/mman.h>

#include <cstddef>
#include <mutex>
#include <unordered_map>

// munmap needs the length; VirtualFree does not. Keep the lengths here so that
// every block kit_alloc handed out can be released, recorded in the kit's
// table or not.
namespace {
std::mutex lengths_lock;
std::unordered_map<void*, size_t>& lengths()
{
    static std::unordered_map<void*, size_t> map;
    return map;
}
}

void* os_reserve_commit(uint64_t size)
{
    if (size == 0 || size > SIZE_MAX / 2)
        return nullptr;
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    // Large print images are written once from top to bottom; huge pages cut
    // the cost of first touching them several times over.
    if (size >= (2u << 20))
        madvise(block, size, MADV_HUGEPAGE);
#endif
    std::lock_guard<std::mutex> guard(lengths_lock);
    lengths()[block] = size;
    return block;
}

void os_release(void* block)
{
    size_t size = 0;
    {
        std::lock_guard<std::mutex> guard(lengths_lock);
        auto found = lengths().find(block);
        if (found == lengths().end())
            return;
        size = found->second;
        lengths().erase(found);
    }
    munmap(block, size);
}
