// The printer's name for a paper size.
#include "poster/paper_name.h"

#include <algorithm>
#include <cstring>

std::string paper_name_for_code(const char* names, int32_t name_count, const uint16_t* codes, int32_t code_count,
                                int32_t code)
{
    // The two lists come from separate queries and need not be equally long;
    // only indexes present in both can match.
    const int32_t count = std::min(name_count, code_count);
    for (int32_t i = 0; i < count; ++i) {
        if (codes[i] != code)
            continue;
        const char* slot = names + static_cast<size_t>(i) * paper_name_slot;
        const void* end = std::memchr(slot, '\0', paper_name_slot - 1);
        const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - slot) : paper_name_slot - 1;
        return std::string(slot, length);
    }
    return {};
}
