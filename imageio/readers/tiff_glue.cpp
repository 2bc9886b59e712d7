#include "imageio/readers/tiff_glue.h"

#include "imageio/buffer.h"
#include "imageio/trace.h"

#include <cstdarg>
#include <cstdio>

namespace {

CISIO* io_of(thandle_t handle)
{
    return static_cast<CISIO*>(handle);
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

int map_proc(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmap_proc(thandle_t, void*, toff_t) {}

int trace_message(TIFF*, void* level, const char* module, const char* format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    is_trace((int32_t)(intptr_t)level, "%s: %s\n", module ? module : "TIFF", text);
    return 1;
}

}  // namespace

int32_t tiff_open(CISIO& io, int32_t directory, tiff_handle* out)
{
    if (!io.rewind())
        return IS_ERR_READ;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return IS_ERR_NO_MEMORY;
    TIFFOpenOptionsSetErrorHandlerExtR(options, trace_message, (void*)(intptr_t)3);
    TIFFOpenOptionsSetWarningHandlerExtR(options, trace_message, (void*)(intptr_t)2);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, (tmsize_t)is_buffer_limit());
    tiff_handle tif(TIFFClientOpenExt(io.name(), "r", &io, read_proc, write_proc, seek_proc, close_proc, size_proc,
                                      map_proc, unmap_proc, options));
    TIFFOpenOptionsFree(options);
    if (!tif)
        return IS_ERR_TIFF;
    if (directory < 0 || !TIFFSetDirectory(tif.get(), (tdir_t)directory))
        return IS_ERR_BAD_ARGUMENT;
    *out = std::move(tif);
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
