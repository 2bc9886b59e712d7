#include "imageio/readers/jpeg_glue.h"

#include "imageio/buffer.h"
#include "imageio/exception.h"
#include "imageio/trace.h"

#include <jerror.h>

namespace {

// Progressive files with thousands of tiny scans decode for minutes without
// producing anything; real files have a few dozen at most.
constexpr int max_scans = 1000;

jpeg_decompressor::source_manager* source_of(j_decompress_ptr cinfo)
{
    return reinterpret_cast<jpeg_decompressor::source_manager*>(cinfo->src);
}

[[noreturn]] void throw_error(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX] = {};
    (*cinfo->err->format_message)(cinfo, message);
    throw ISException(IS_ERR_JPEG, message);
}

void trace_warning(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX] = {};
    (*cinfo->err->format_message)(cinfo, message);
    is_trace(2, "%s\n", message);
}

void limit_scans(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > max_scans)
        throw ISException(IS_ERR_JPEG, "Too many scans");
}

void init_source(j_decompress_ptr cinfo)
{
    source_of(cinfo)->start_of_file = true;
}

boolean fill_input_buffer(j_decompress_ptr cinfo)
{
    jpeg_decompressor::source_manager* src = source_of(cinfo);
    uint32_t got = src->io->read(src->buffer, sizeof src->buffer);
    if (got == 0) {
        if (src->start_of_file)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A file cut short ends as if its end-of-image marker were there.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = (JOCTET)0xFF;
        src->buffer[1] = (JOCTET)JPEG_EOI;
        got = 2;
        src->inserted_end = true;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = got;
    src->start_of_file = false;
    return TRUE;
}

void skip_input_data(j_decompress_ptr cinfo, long count)
{
    jpeg_decompressor::source_manager* src = source_of(cinfo);
    if (count <= 0)
        return;
    while (count > (long)src->pub.bytes_in_buffer) {
        count -= (long)src->pub.bytes_in_buffer;
        fill_input_buffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= (size_t)count;
}

void term_source(j_decompress_ptr cinfo)
{
    jpeg_decompressor::source_manager* src = source_of(cinfo);
    if (src->keep_position && !src->inserted_end && src->pub.bytes_in_buffer > 0)
        src->io->seek(-(int64_t)src->pub.bytes_in_buffer, 1);
}

}  // namespace

jpeg_decompressor::jpeg_decompressor(CISIO& io, bool keep_position)
{
    cinfo_.err = jpeg_std_error(&error_);
    error_.error_exit = throw_error;
    error_.output_message = trace_warning;
    cinfo_.mem = nullptr;
    try {
        jpeg_create_decompress(&cinfo_);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo_);
        throw;
    }
    // libjpeg's whole-image buffers (progressive files) stay within the
    // limit of the pixel buffers; larger needs fail instead of swapping.
    cinfo_.mem->max_memory_to_use = (long)is_buffer_limit();
    progress_ = {};
    progress_.progress_monitor = limit_scans;
    cinfo_.progress = &progress_;

    source_.pub.init_source = init_source;
    source_.pub.fill_input_buffer = fill_input_buffer;
    source_.pub.skip_input_data = skip_input_data;
    source_.pub.resync_to_restart = jpeg_resync_to_restart;
    source_.pub.term_source = term_source;
    source_.pub.bytes_in_buffer = 0;
    source_.pub.next_input_byte = nullptr;
    source_.io = &io;
    source_.start_of_file = true;
    source_.inserted_end = false;
    source_.keep_position = keep_position;
    cinfo_.src = &source_.pub;
}

jpeg_decompressor::~jpeg_decompressor()
{
    jpeg_destroy_decompress(&cinfo_);
}

void jpeg_decompressor::save_markers()
{
    jpeg_save_markers(&cinfo_, JPEG_COM, 0xFFFF);
    for (int marker = JPEG_APP0 + 1; marker <= JPEG_APP0 + 14; ++marker)
        jpeg_save_markers(&cinfo_, marker, 0xFFFF);
}
