#include "raster/kit_memory.h"

#include <windows.h>

void* os_reserve_commit(uint64_t size)
{
    if (size == 0 || size > (uint64_t)(SIZE_T)-1 / 2)
        return nullptr;
    return VirtualAlloc(nullptr, (SIZE_T)size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void os_release(void* block)
{
    VirtualFree(block, 0, MEM_RELEASE);
}
