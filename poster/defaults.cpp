// Start-up values of the poster model.
#include "poster/defaults.h"

#include <algorithm>

smm_size default_poster(bool metric)
{
    return metric ? smm_size{64 * smm_per_cm, 90 * smm_per_cm} : smm_size{23 * smm_per_inch, 35 * smm_per_inch};
}

smm_rect default_paper_margin(bool metric)
{
    if (metric)
        return {5 * smm_per_mm, 5 * smm_per_mm, 20 * smm_per_mm, 20 * smm_per_mm};
    return {smm_per_inch / 4, smm_per_inch / 4, smm_per_inch, smm_per_inch};
}

smm_size a4_fallback_page(const smm_rect& margins)
{
    // Margins come from the settings and may be anything; a tile that leaves
    // the 32-bit range is clamped to it (a non-positive tile is refused by
    // the layout anyway).
    auto side = [](int64_t paper, int64_t near, int64_t far) {
        return static_cast<int32_t>(std::clamp<int64_t>(paper - far - near, INT32_MIN, INT32_MAX));
    };
    return {side(210 * smm_per_mm, margins.left, margins.right), side(297 * smm_per_mm, margins.top, margins.bottom)};
}

void raise_margins_to_unprintable(smm_rect& margins, const smm_rect& unprintable)
{
    margins.left = std::max(margins.left, unprintable.left);
    margins.top = std::max(margins.top, unprintable.top);
    margins.right = std::max(margins.right, unprintable.right);
    margins.bottom = std::max(margins.bottom, unprintable.bottom);
}
