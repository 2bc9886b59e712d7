// One layout recomputation over plain numbers.
#include "poster/layout.h"

layout_refusal recompute_layout_geometry(int_size client, smm_size poster, smm_size page, int_size crop,
                                         page_flags& flags, poster_layout* out)
{
    const layout_refusal refusal = check_layout(poster, page, crop);
    if (refusal != layout_refusal::none)
        return refusal;
    poster_layout layout;
    layout.npages = pages_needed(poster, page);
    preview_layout(client, poster, page, &layout.preview);
    if (layout.npages.width != flags.columns || layout.npages.height != flags.rows)
        reset_page_flags(flags, layout.npages.width, layout.npages.height);
    *out = layout;
    return layout_refusal::none;
}
