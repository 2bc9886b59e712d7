// What the image library does differently on Windows and natively: the global
// heap that pixel buffers come from, the slot and lock of the per-thread state,
// and opening a file by name. One implementation file per platform.
#pragma once
#include <cstdint>
#include <cstdio>

#include "imageio/imageio.h"  // is_global_alloc and is_global_free: GlobalAlloc
                              // (GMEM_FIXED | GMEM_ZEROINIT) and GlobalFree on Windows

// The calling thread's state pointer; null until one was stored.
// thread_slot_ready is false when no slot could be reserved at start-up.
bool thread_slot_ready();
void* thread_slot_get();
// False when the pointer cannot be stored; *os_error receives the reason.
bool thread_slot_set(void* state, uint32_t* os_error);
// Releases the slot at shutdown; later gets return null and
// thread_slot_ready turns false.
void thread_slot_release();

// The one lock of the library: guards the list of thread states and the set
// of open sources. After registry_lock_destroy (at shutdown) both calls do
// nothing.
void registry_lock();
void registry_unlock();
void registry_lock_destroy();

// Opens a file for reading in binary mode; the name is in the platform's
// own form (a Windows path in the Windows build).
FILE* open_file_for_reading(const char* name);
