// The JPEG 2000 module's entry points: its copy of the library's callback
// table, its per-thread last error, and the read that ties decoding and
// conversion together.
#include "imageio/readers/j2k.h"

#include "imageio/readers/j2k_decode.h"
#include "imageio/trace.h"

#include <cmath>
#include <mutex>
#include <new>

namespace {

std::mutex g_table_lock;
is_io_callbacks g_table{};
bool g_table_set = false;
thread_local int32_t g_last_error = 0;

// Records the outcome in the module and, when a table is installed, in the
// library as well.
void set_error(const is_io_callbacks* table, int32_t code)
{
    g_last_error = code;
    if (table && table->set_last_error)
        table->set_last_error(code);
}

bool installed_table(is_io_callbacks* table)
{
    std::lock_guard<std::mutex> guard(g_table_lock);
    if (g_table_set)
        *table = g_table;
    return g_table_set;
}

bool complete(const is_io_callbacks& table)
{
    return table.read && table.seek && table.tell && table.get_size && table.get_abort_callback &&
           table.set_last_error;
}

}  // namespace

bool j2k_set_io_callbacks(const is_io_callbacks* table)
{
    if (!table || table->table_size != sizeof(is_io_callbacks) || !complete(*table)) {
        g_last_error = IS_ERR_BAD_ARGUMENT;
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(g_table_lock);
        g_table = *table;
        g_table_set = true;
    }
    g_last_error = IS_OK;
    return true;
}

uint8_t* j2k_read(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, double scale,
                  uint32_t flags)
{
    is_io_callbacks table{};
    if (!installed_table(&table)) {
        set_error(nullptr, IS_ERR_BAD_ARGUMENT);
        return nullptr;
    }
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    const bool known_depth = depth == 8 || depth == 16 || depth == 24 || depth == 32 || depth == 48 || depth == 64;
    if (!source || !width || !height || !known_depth || !(scale > 0) || !std::isfinite(scale)) {
        set_error(&table, IS_ERR_BAD_ARGUMENT);
        return nullptr;
    }
    try {
        j2k_image image = j2k_decode(table, source);
        uint8_t* buffer = j2k_convert(*image, depth, scale, flags, table, width, height);
        set_error(&table, IS_OK);
        return buffer;
    } catch (const RAZA2V::ISException& e) {
        is_trace(3, "JPEG 2000: %s\n", e.what());
        set_error(&table, e.code());
    } catch (const std::bad_alloc&) {
        set_error(&table, IS_ERR_NO_MEMORY);
    }
    *width = 0;
    *height = 0;
    return nullptr;
}

int32_t j2k_get_last_error()
{
    return g_last_error;
}
