// The page selection of the grid.
#include "poster/page_flags.h"
#include "poster/geometry.h"

namespace {

bool inside(const page_flags& flags, int32_t column, int32_t row)
{
    return column >= 0 && column < flags.columns && row >= 0 && row < flags.rows;
}

}  // namespace

bool reset_page_flags(page_flags& flags, int32_t columns, int32_t rows)
{
    if (columns <= 0 || rows <= 0 || static_cast<int64_t>(columns) * rows > max_grid_pages)
        return false;
    flags.entries.assign(static_cast<size_t>(columns) * rows, 1);
    flags.columns = columns;
    flags.rows = rows;
    flags.selected = columns * rows;
    return true;
}

int32_t page_flag(const page_flags& flags, int32_t column, int32_t row)
{
    if (!inside(flags, column, row))
        return 0;
    return flags.entries[static_cast<size_t>(row) * flags.columns + column];
}

void set_page_flag(page_flags& flags, int32_t column, int32_t row, int32_t value)
{
    if (!inside(flags, column, row))
        return;
    int32_t& entry = flags.entries[static_cast<size_t>(row) * flags.columns + column];
    // Every value other than 0 means "print", so the entries stay 0 or 1 and
    // the count stays the number of pages that are on.
    const int32_t on = value != 0 ? 1 : 0;
    if (entry == on)
        return;
    entry = on;
    flags.selected += on ? 1 : -1;
}

int32_t all_papers(const page_flags& flags)
{
    return flags.selected;
}
