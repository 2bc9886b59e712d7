#include "tests/writers/jpeg_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

std::vector<uint8_t> make_jpeg(const jpeg_recipe& recipe)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&cinfo, &out, &out_size);
    cinfo.image_width = recipe.width;
    cinfo.image_height = recipe.height;
    cinfo.input_components = recipe.components;
    cinfo.in_color_space = recipe.components == 1 ? JCS_GRAYSCALE : recipe.components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    if (recipe.components == 4)
        jpeg_set_colorspace(&cinfo, recipe.ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    if (recipe.progressive)
        jpeg_simple_progression(&cinfo);
    if (recipe.full_chroma)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (recipe.adobe_marker)
        cinfo.write_Adobe_marker = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    for (const std::string& comment : recipe.comments)
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.data()), (unsigned)comment.size());
    for (const auto& [code, data] : recipe.markers)
        jpeg_write_marker(&cinfo, code, data.data(), (unsigned)data.size());
    const size_t row_bytes = (size_t)recipe.width * recipe.components;
    std::vector<uint8_t> row(row_bytes);
    while (cinfo.next_scanline < cinfo.image_height) {
        std::memcpy(row.data(), recipe.pixels.data() + cinfo.next_scanline * row_bytes, row_bytes);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(out, out + out_size);
    std::free(out);
    return file;
}

std::vector<uint8_t> exif_orientation_app1(uint16_t orientation, bool big_endian)
{
    std::vector<uint8_t> app1 = {'E', 'x', 'i', 'f', 0, 0};
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            app1.push_back((uint8_t)(value >> 8 * (big_endian ? bytes - 1 - i : i)));
    };
    app1.push_back(big_endian ? 'M' : 'I');
    app1.push_back(big_endian ? 'M' : 'I');
    put(42, 2);
    put(8, 4);       // the first directory follows the header
    put(1, 2);       // one entry
    put(0x0112, 2);  // Orientation
    put(3, 2);       // SHORT
    put(1, 4);
    put(orientation, 2);
    put(0, 2);
    put(0, 4);       // no next directory
    return app1;
}
