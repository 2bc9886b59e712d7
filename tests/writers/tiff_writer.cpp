#include "tests/writers/tiff_writer.h"

#include "tests/writers/byte_sink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <tiffio.h>

namespace {

tmsize_t memory_read(thandle_t h, void* buffer, tmsize_t size)
{
    return (tmsize_t)static_cast<byte_sink*>(h)->read(buffer, (uint64_t)size);
}

tmsize_t memory_write(thandle_t h, void* buffer, tmsize_t size)
{
    static_cast<byte_sink*>(h)->write(buffer, (uint64_t)size);
    return size;
}

toff_t memory_seek(thandle_t h, toff_t offset, int whence)
{
    auto* f = static_cast<byte_sink*>(h);
    if (whence == SEEK_CUR)
        offset += f->position;
    else if (whence == SEEK_END)
        offset += f->bytes.size();
    f->position = offset;
    return offset;
}

int memory_close(thandle_t)
{
    return 0;
}

toff_t memory_size(thandle_t h)
{
    return static_cast<byte_sink*>(h)->bytes.size();
}

int memory_map(thandle_t, void**, toff_t*)
{
    return 0;
}

void memory_unmap(thandle_t, void*, toff_t) {}

void write_tiff_directory(TIFF* tif, const tiff_recipe& recipe)
{
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, recipe.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, recipe.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, recipe.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, recipe.samples);
    if (recipe.extra_samples) {
        std::vector<uint16_t> kinds(recipe.extra_samples, EXTRASAMPLE_ASSOCALPHA);
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, recipe.extra_samples, kinds.data());
    }
    if (recipe.write_photometric)
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, recipe.photometric);
    if (recipe.orientation)
        TIFFSetField(tif, TIFFTAG_ORIENTATION, recipe.orientation);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, recipe.planar);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, recipe.compression);
    if (!recipe.colormap.empty()) {
        const size_t n = recipe.colormap.size() / 3;
        TIFFSetField(tif, TIFFTAG_COLORMAP, recipe.colormap.data(), recipe.colormap.data() + n,
                     recipe.colormap.data() + 2 * n);
    }
    if (recipe.x_resolution > 0) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, recipe.x_resolution);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, recipe.y_resolution);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    const size_t row_bytes = ((size_t)recipe.width * recipe.samples * recipe.bits + 7) / 8;
    if (recipe.tile_size) {
        // Tiles are cut from byte-aligned pixels (8 bits or more a sample).
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, recipe.tile_size);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, recipe.tile_size);
        const size_t pixel = (size_t)recipe.samples * recipe.bits / 8;
        std::vector<uint8_t> tile((size_t)recipe.tile_size * recipe.tile_size * pixel);
        for (uint32_t ty = 0; ty < recipe.height; ty += recipe.tile_size) {
            for (uint32_t tx = 0; tx < recipe.width; tx += recipe.tile_size) {
                std::fill(tile.begin(), tile.end(), 0);
                for (uint32_t y = 0; y < recipe.tile_size && ty + y < recipe.height; ++y)
                    for (uint32_t x = 0; x < recipe.tile_size && tx + x < recipe.width; ++x)
                        std::memcpy(tile.data() + ((size_t)y * recipe.tile_size + x) * pixel,
                                    recipe.data.data() + (ty + y) * row_bytes + (tx + x) * pixel, pixel);
                TIFFWriteTile(tif, tile.data(), tx, ty, 0, 0);
            }
        }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP,
                     recipe.rows_per_strip ? recipe.rows_per_strip : TIFFDefaultStripSize(tif, 0));
        if (recipe.planar == PLANARCONFIG_SEPARATE) {
            // One plane a sample, from interleaved 8-bit samples.
            std::vector<uint8_t> plane_row(recipe.width);
            for (uint16_t s = 0; s < recipe.samples; ++s)
                for (uint32_t y = 0; y < recipe.height; ++y) {
                    for (uint32_t x = 0; x < recipe.width; ++x)
                        plane_row[x] = recipe.data[y * row_bytes + (size_t)x * recipe.samples + s];
                    TIFFWriteScanline(tif, plane_row.data(), y, s);
                }
        } else {
            std::vector<uint8_t> row(row_bytes);
            for (uint32_t y = 0; y < recipe.height; ++y) {
                std::memcpy(row.data(), recipe.data.data() + y * row_bytes, row_bytes);
                TIFFWriteScanline(tif, row.data(), y, 0);
            }
        }
    }
}

}  // namespace

std::vector<uint8_t> make_tiff(const std::vector<tiff_recipe>& directories)
{
    byte_sink file;
    TIFF* tif = TIFFClientOpen("memory", "w", &file, memory_read, memory_write, memory_seek, memory_close,
                               memory_size, memory_map, memory_unmap);
    for (const tiff_recipe& recipe : directories) {
        write_tiff_directory(tif, recipe);
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return file.bytes;
}
