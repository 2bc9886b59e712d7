// True-colour TIFF through libtiff's RGBA interface. libtiff is asked for
// the raster exactly as stored (first stored row on top, no flips), and the
// picture is then turned here as the Orientation tag says it is displayed:
// row 0 and column 0 of the stored image lie at the top and left (1), top
// and right (2), bottom and right (3), bottom and left (4), or, for 5 to 8,
// row 0 runs down the left or right side (width and height swap).
#include "imageio/buffer.h"
#include "imageio/readers/tiff.h"
#include "imageio/readers/tiff_glue.h"
#include "imageio/trace.h"

#include <cstring>

namespace {

// libtiff's RGBA state with the reader's per-strip hook around its put
// routine: the abort callback is asked before each strip or tile is stored.
struct rgba_reader {
    TIFFRGBAImage img;  // first, so that the hook finds the reader from it
    read_context* context;
    union {
        tileContigRoutine contig;
        tileSeparateRoutine separate;
    } put;
    int32_t error;
};

bool stop_before_put(TIFFRGBAImage* img, uint32_t y)
{
    rgba_reader* reader = reinterpret_cast<rgba_reader*>(img);
    if (reader->error == IS_OK && reader->context->cancelled(y, img->height))
        reader->error = IS_ERR_CANCELLED;
    return reader->error != IS_OK;
}

void put_contig(TIFFRGBAImage* img, uint32_t* raster, uint32_t x, uint32_t y, uint32_t w, uint32_t h,
                int32_t from_skew, int32_t to_skew, unsigned char* pixels)
{
    if (!stop_before_put(img, y))
        reinterpret_cast<rgba_reader*>(img)->put.contig(img, raster, x, y, w, h, from_skew, to_skew, pixels);
}

void put_separate(TIFFRGBAImage* img, uint32_t* raster, uint32_t x, uint32_t y, uint32_t w, uint32_t h,
                  int32_t from_skew, int32_t to_skew, unsigned char* r, unsigned char* g, unsigned char* b,
                  unsigned char* a)
{
    if (!stop_before_put(img, y))
        reinterpret_cast<rgba_reader*>(img)->put.separate(img, raster, x, y, w, h, from_skew, to_skew, r, g, b, a);
}

struct rgba_image_end {
    TIFFRGBAImage* img;
    ~rgba_image_end() { TIFFRGBAImageEnd(img); }
};

// The stored pixel (row, column) shown at (x, y) of the displayed picture;
// stored_width and stored_height are the raster's.
void stored_position(uint16_t orientation, uint32_t x, uint32_t y, uint32_t stored_width, uint32_t stored_height,
                     uint32_t* row, uint32_t* column)
{
    switch (orientation) {
    case ORIENTATION_TOPRIGHT: *row = y; *column = stored_width - 1 - x; break;
    case ORIENTATION_BOTRIGHT: *row = stored_height - 1 - y; *column = stored_width - 1 - x; break;
    case ORIENTATION_BOTLEFT: *row = stored_height - 1 - y; *column = x; break;
    case ORIENTATION_LEFTTOP: *row = x; *column = y; break;
    case ORIENTATION_RIGHTTOP: *row = stored_height - 1 - x; *column = y; break;
    case ORIENTATION_RIGHTBOT: *row = stored_height - 1 - x; *column = stored_width - 1 - y; break;
    case ORIENTATION_LEFTBOT: *row = x; *column = stored_width - 1 - y; break;
    default: *row = y; *column = x; break;
    }
}

bool swaps_sides(uint16_t orientation)
{
    return orientation >= ORIENTATION_LEFTTOP && orientation <= ORIENTATION_LEFTBOT;
}

}  // namespace

uint8_t* tiff_read_true_colour(read_context& context, TIFF* tif, const tiff_directory& dir, int32_t depth,
                               uint32_t flags, uint32_t* width, uint32_t* height)
{
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) {
        is_trace(3, "%s\n", message);
        return context.fail(IS_ERR_TIFF);
    }
    const uint16_t orientation = (flags & TIFF_FLAG_IGNORE_ORIENTATION) ? ORIENTATION_TOPLEFT : dir.orientation;
    const uint32_t w = dir.width, h = dir.length;
    const uint32_t out_bytes = depth == 32 ? 4 : 3;
    owned_buffer raster = alloc_pixels((uint64_t)w * 4, h);
    uint64_t out_size = 0;
    if (!raster || !is_buffer_size(w, h, out_bytes, &out_size))
        return context.fail(IS_ERR_NO_MEMORY);

    rgba_reader reader{};
    reader.context = &context;
    if (!TIFFRGBAImageBegin(&reader.img, tif, 1, message)) {
        is_trace(3, "%s\n", message);
        return context.fail(IS_ERR_TIFF);
    }
    rgba_image_end end{&reader.img};
    if (reader.img.isContig) {
        reader.put.contig = reader.img.put.contig;
        reader.img.put.contig = put_contig;
    } else {
        reader.put.separate = reader.img.put.separate;
        reader.img.put.separate = put_separate;
    }
    reader.img.orientation = ORIENTATION_TOPLEFT;
    reader.img.req_orientation = ORIENTATION_TOPLEFT;
    const bool read = TIFFRGBAImageGet(&reader.img, reinterpret_cast<uint32_t*>(raster.get()), w, h) != 0;
    if (reader.error != IS_OK)
        return context.fail(reader.error);
    if (!read)
        return context.fail(IS_ERR_TIFF);

    const bool swap = swaps_sides(orientation);
    const uint32_t out_w = swap ? h : w, out_h = swap ? w : h;
    owned_buffer out = alloc_pixels(out_size, 1);
    if (!out)
        return context.fail(IS_ERR_NO_MEMORY);
    uint8_t* dst = out.get();
    for (uint32_t y = 0; y < out_h; ++y) {
        for (uint32_t x = 0; x < out_w; ++x, dst += out_bytes) {
            uint32_t row = 0, column = 0;
            stored_position(orientation, x, y, w, h, &row, &column);
            uint32_t abgr = 0;
            std::memcpy(&abgr, raster.get() + ((uint64_t)row * w + column) * 4, 4);
            dst[0] = (uint8_t)TIFFGetR(abgr);
            dst[1] = (uint8_t)TIFFGetG(abgr);
            dst[2] = (uint8_t)TIFFGetB(abgr);
            if (out_bytes == 4)
                dst[3] = (uint8_t)TIFFGetA(abgr);
        }
    }
    *width = out_w;
    *height = out_h;
    return out.release();
}
