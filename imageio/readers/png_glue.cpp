#include "imageio/readers/png_glue.h"

#include "imageio/buffer.h"
#include "imageio/exception.h"
#include "imageio/trace.h"

#include <cstdlib>

namespace {

[[noreturn]] void throw_error(png_structp, png_const_charp message)
{
    is_trace(3, "%s\n", message);
    throw ISException(IS_ERR_PNG, message);
}

void trace_warning(png_structp, png_const_charp message)
{
    is_trace(2, "%s\n", message);
}

// libpng's own allocations stay within the buffer limit: a chunk that
// claims gigabytes is then skipped instead of being allocated.
png_voidp limited_malloc(png_structp, png_alloc_size_t size)
{
    return size <= is_buffer_limit() ? std::malloc(size) : nullptr;
}

void plain_free(png_structp, png_voidp block)
{
    std::free(block);
}

void read_exactly(png_structp png, png_bytep data, size_t length)
{
    CISIO* io = static_cast<CISIO*>(png_get_io_ptr(png));
    if (length > 0xFFFFFFFFu || !io->read_exactly(data, (uint32_t)length))
        png_error(png, "read Error");
}

}  // namespace

png_reader::png_reader(CISIO& io)
{
    // The throwing handlers are installed once the structure exists: while
    // libpng builds it, it recovers from its own failures by itself.
    png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr, nullptr, limited_malloc,
                                   plain_free);
    if (png)
        info = png_create_info_struct(png);
    if (!png || !info) {
        png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
        throw ISException(IS_ERR_PNG_STRUCTS, "PNG structures cannot be created");
    }
    png_set_error_fn(png, nullptr, throw_error, trace_warning);
    png_set_read_fn(png, &io, read_exactly);
}

png_reader::~png_reader()
{
    png_destroy_read_struct(&png, &info, nullptr);
}
