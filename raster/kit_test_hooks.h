// Test-only access to the kit's allocation hook, so that tests can make
// kit_alloc fail and check that callers clean up after themselves.
#pragma once
#include <cstdint>

using kit_alloc_hook = void* (*)(uint64_t size);

// Installs hook in place of the current allocation hook and returns the
// previous one; a replacement usually forwards to it.
kit_alloc_hook kit_replace_alloc_hook(kit_alloc_hook hook);
