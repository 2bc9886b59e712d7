// The data source's one entry point.
#include <windows.h>

#include <memory>
#include <new>

#include "scan/sane_source/source.h"

namespace {

HINSTANCE source_module = nullptr;

// The source of this module: a manager loads one module per source kind and
// talks to it through DS_Entry alone, so the module holds the one object.
std::unique_ptr<sane_source> the_source;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        source_module = module;
        DisableThreadLibraryCalls(module);
        // The manager loads the source to list its devices, frees it and
        // loads it again to open one. Under Wine a module built with winelib
        // cannot be loaded a second time once freed, so it stays.
        HMODULE pinned = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(&DllMain), &pinned);
    }
    return TRUE;
}

extern "C" TW_UINT16 WINAPI DS_Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 data_type, TW_UINT16 message,
                                     TW_MEMREF data)
{
    try {
        if (!the_source)
            the_source = std::make_unique<sane_source>(source_module);
        return the_source->entry(origin, group, data_type, message, data);
    } catch (const std::bad_alloc&) {
        return TWRC_FAILURE;
    }
}
