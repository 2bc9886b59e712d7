// Which pages of the grid are to be printed: one entry per page, switched on
// and off by clicks in the preview and read by the print job.
#pragma once
#include <cstdint>
#include <vector>

struct page_flags {
    std::vector<int32_t> entries;  // index row * columns + column; 1 print, 0 skip
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t selected = 0;          // how many entries are 1
};

// Resizes the selection to columns x rows with every page on. Refuses, leaving
// the selection as it was, a size of 0 or less or a grid beyond
// max_grid_pages.
bool reset_page_flags(page_flags& flags, int32_t columns, int32_t rows);

// 1 when the page is to be printed, 0 when it is skipped or lies outside the
// grid.
int32_t page_flag(const page_flags& flags, int32_t column, int32_t row);

// Switches a page on (any non-zero value) or off, keeping the count of pages
// that are on. Pages outside the grid are ignored.
void set_page_flag(page_flags& flags, int32_t column, int32_t row, int32_t value);

// The number of pages that will be printed.
int32_t all_papers(const page_flags& flags);
