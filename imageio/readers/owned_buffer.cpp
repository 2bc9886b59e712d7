#include "imageio/readers/owned_buffer.h"

owned_buffer alloc_pixels(uint64_t row_bytes, uint64_t rows)
{
    uint64_t bytes = 0;
    if (!is_buffer_size(row_bytes, rows, &bytes))
        return owned_buffer();
    return owned_buffer(is_alloc_buffer(bytes));
}
