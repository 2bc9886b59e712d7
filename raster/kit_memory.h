// Operating-system virtual memory for the raster kit: one committed,
// read-write region per block, outside the heap. One file per platform.
#pragma once
#include <cstdint>

void* os_reserve_commit(uint64_t size);
void os_release(void* block);
