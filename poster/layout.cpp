// One layout recomputation over plain numbers.
#include "poster/layout.h"

#include "poster/sheet_grid.h"

layout_refusal recompute_layout_geometry(int_size client, smm_size poster, smm_size page, int32_t overlap,
                                         int_size crop, page_flags& flags, poster_layout* out)
{
    const layout_refusal refusal = check_sheet_layout(poster, page, overlap, crop);
    if (refusal != layout_refusal::none)
        return refusal;
    poster_layout layout;
    layout.npages = sheets_needed(poster, page, overlap);
    preview_layout_bands(client, poster, page, overlap, &layout.preview);
    if (layout.npages.width != flags.columns || layout.npages.height != flags.rows)
        reset_page_flags(flags, layout.npages.width, layout.npages.height);
    *out = layout;
    return layout_refusal::none;
}
