#include "imageio/platform.h"

#include <windows.h>

#include <cstdlib>

void* is_global_alloc(uint64_t size)
{
    if (size > (uint64_t)(SIZE_T)-1)
        return nullptr;
    return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)size);
}

void is_global_free(void* block)
{
    if (block)
        GlobalFree(block);
}

void* is_global_realloc(void* block, uint64_t size)
{
    if (size > (uint64_t)(SIZE_T)-1)
        return nullptr;
    return GlobalReAlloc(block, size ? (SIZE_T)size : 1, GMEM_MOVEABLE);
}

namespace {
// The TLS slot and the critical section are made once, on first use, and
// released by the registry at shutdown.
struct platform_state {
    DWORD slot = TLS_OUT_OF_INDEXES;
    CRITICAL_SECTION lock;
    volatile LONG lock_live = 0;

    platform_state()
    {
        slot = TlsAlloc();
        InitializeCriticalSection(&lock);
        lock_live = 1;
    }
};

platform_state& platform()
{
    static platform_state* state = new platform_state;
    return *state;
}
}  // namespace

bool thread_slot_ready()
{
    return platform().slot != TLS_OUT_OF_INDEXES;
}

void* thread_slot_get()
{
    const DWORD slot = platform().slot;
    return slot == TLS_OUT_OF_INDEXES ? nullptr : TlsGetValue(slot);
}

bool thread_slot_set(void* state, uint32_t* os_error)
{
    const DWORD slot = platform().slot;
    if (slot != TLS_OUT_OF_INDEXES && TlsSetValue(slot, state))
        return true;
    if (os_error)
        *os_error = GetLastError();
    return false;
}

void thread_slot_release()
{
    platform_state& state = platform();
    if (state.slot != TLS_OUT_OF_INDEXES) {
        TlsFree(state.slot);
        state.slot = TLS_OUT_OF_INDEXES;
    }
}

void registry_lock()
{
    platform_state& state = platform();
    if (state.lock_live)
        EnterCriticalSection(&state.lock);
}

void registry_unlock()
{
    platform_state& state = platform();
    if (state.lock_live)
        LeaveCriticalSection(&state.lock);
}

void registry_lock_destroy()
{
    platform_state& state = platform();
    if (state.lock_live) {
        state.lock_live = 0;
        DeleteCriticalSection(&state.lock);
    }
}

FILE* open_file_for_reading(const char* name)
{
#ifdef __WINE__
    // The C runtime of a winelib program is the host's, which knows only host
    // paths: turn the Windows path into one first.
    const int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (length <= 0)
        return nullptr;
    WCHAR* wide = static_cast<WCHAR*>(std::malloc(sizeof(WCHAR) * (size_t)length));
    if (!wide)
        return nullptr;
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, length);
    char* host_name = wine_get_unix_file_name(wide);
    std::free(wide);
    if (!host_name)
        return nullptr;
    FILE* stream = std::fopen(host_name, "rb");
    HeapFree(GetProcessHeap(), 0, host_name);
    return stream;
#else
    return std::fopen(name, "rb");
#endif
}
