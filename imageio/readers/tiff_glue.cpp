#include "imageio/readers/tiff_glue.h"

#include "imageio/buffer.h"
#include "imageio/trace.h"

#include <cstdarg>
#include <cstdio>

struct tiff_file::client {
    CISIO* io;
    owned_buffer loaded;  // the file's bytes while libtiff maps them
};

namespace {

CISIO* io_of(thandle_t handle)
{
    return static_cast<tiff_file::client*>(handle)->io;
}

tmsize_t read_proc(thandle_t handle, void* buffer, tmsize_t size)
{
    if (size <= 0)
        return 0;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    tmsize_t done = 0;
    while (done < size) {
        const tmsize_t part = size - done < (1 << 30) ? size - done : (1 << 30);
        const uint32_t got = io_of(handle)->read(out + done, (uint32_t)part);
        done += got;
        if (got < (uint32_t)part)
            break;
    }
    return done;
}

tmsize_t write_proc(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t seek_proc(thandle_t handle, toff_t offset, int whence)
{
    const int32_t origin = whence == SEEK_CUR ? 1 : whence == SEEK_END ? 2 : 0;
    if (origin == 0 && offset > (toff_t)INT64_MAX)
        return (toff_t)-1;
    CISIO* io = io_of(handle);
    if (!io->seek((int64_t)offset, origin))
        return (toff_t)-1;
    const int64_t here = io->tell();
    return here < 0 ? (toff_t)-1 : (toff_t)here;
}

int close_proc(thandle_t)
{
    return 0;  // the source belongs to the caller
}

toff_t size_proc(thandle_t handle)
{
    const int64_t size = io_of(handle)->size();
    return size < 0 ? 0 : (toff_t)size;
}

// libtiff reads the strips and tiles of a mapped file from memory. Besides
// being quicker, this avoids the library's refusal of uncompressed tiles
// that it reads through a buffer of its own. Memory sources are mapped as
// they are; other sources are loaded whole when they fit the buffer limit,
// and read through the procedures above otherwise.
int map_proc(thandle_t handle, void** base, toff_t* size)
{
    auto* c = static_cast<tiff_file::client*>(handle);
    const ISSourceRecord* record = c->io->record();
    if (record->kind == IS_SOURCE_MEMORY && !record->writable) {
        *base = const_cast<uint8_t*>(record->memory_base);
        *size = record->memory_size;
        return 1;
    }
    const int64_t length = c->io->size();
    const int64_t here = c->io->tell();
    if (length <= 0 || length > 0xFFFFFFFF || here < 0)
        return 0;
    owned_buffer bytes = alloc_pixels((uint64_t)length, 1);
    const bool loaded = bytes && c->io->rewind() && c->io->read_exactly(bytes.get(), (uint32_t)length);
    if (!c->io->seek(here, 0) || !loaded)
        return 0;
    c->loaded = std::move(bytes);
    *base = c->loaded.get();
    *size = (toff_t)length;
    return 1;
}

void unmap_proc(thandle_t handle, void*, toff_t)
{
    static_cast<tiff_file::client*>(handle)->loaded.reset();
}

int trace_message(TIFF*, void* level, const char* module, const char* format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    is_trace((int32_t)(intptr_t)level, "%s: %s\n", module ? module : "TIFF", text);
    return 1;
}

}  // namespace

tiff_file::tiff_file() = default;

tiff_file::~tiff_file()
{
    if (tif_)
        TIFFClose(tif_);
}

int32_t tiff_file::open(CISIO& io, int32_t directory)
{
    if (!io.rewind())
        return IS_ERR_READ;
    client_.reset(new client{&io, owned_buffer()});
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return IS_ERR_NO_MEMORY;
    TIFFOpenOptionsSetErrorHandlerExtR(options, trace_message, (void*)(intptr_t)3);
    TIFFOpenOptionsSetWarningHandlerExtR(options, trace_message, (void*)(intptr_t)2);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, (tmsize_t)is_buffer_limit());
    tif_ = TIFFClientOpenExt(io.name(), "r", client_.get(), read_proc, write_proc, seek_proc, close_proc, size_proc,
                             map_proc, unmap_proc, options);
    TIFFOpenOptionsFree(options);
    if (!tif_)
        return IS_ERR_TIFF;
    if (directory < 0 || !TIFFSetDirectory(tif_, (tdir_t)directory))
        return IS_ERR_BAD_ARGUMENT;
    return IS_OK;
}

tiff_directory read_tiff_directory(TIFF* tif)
{
    tiff_directory d;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &d.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &d.length);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &d.bits_per_sample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &d.samples_per_pixel);
    uint16_t* extra_kinds = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &d.extra_samples, &extra_kinds);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &d.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &d.compression);
    d.has_photometric = TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &d.photometric) != 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &d.orientation);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &d.x_resolution);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &d.y_resolution);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &d.resolution_unit);
    return d;
}

bool tiff_is_bilevel(const tiff_directory& dir)
{
    if (dir.bits_per_sample != 1)
        return false;
    if (dir.planar == PLANARCONFIG_SEPARATE && dir.colour_samples() > 1)
        return false;
    return dir.has_photometric || dir.colour_samples() == 1;
}
