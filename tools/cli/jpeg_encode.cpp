#include "tools/cli/jpeg_encode.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

std::vector<uint8_t> encode_jpeg(const raster_image* image, int quality)
{
    if (image->width <= 0 || image->height <= 0)
        return {};
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&cinfo, &out, &out_size);
    cinfo.image_width = (JDIMENSION)image->width;
    cinfo.image_height = (JDIMENSION)image->height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row((size_t)image->width * 3);
    for (int32_t y = 0; y < image->height; ++y) {
        const uint8_t* in = image->pixels + (size_t)y * image->stride;
        for (size_t x = 0; x < row.size(); x += 3) {
            row[x] = in[x + 2];
            row[x + 1] = in[x + 1];
            row[x + 2] = in[x];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(out, out + out_size);
    std::free(out);
    return file;
}
