// Every operation on a view changes only the view's rectangle (of the
// governing image's size) and never padding or neighbouring pixels.
#include "raster_test_support.h"

#include <functional>

namespace {

TEST(ImageViews, OperationsTouchOnlyTheirRectangle)
{
    image_ptr source = make_image(BGRA, 5, 3), gray = make_image(PIXEL_GRAY8, 6, 4);
    image_fill(source.get(), 0x80FFFFFF);
    image_fill(gray.get(), 200);
    raster_image mask;
    image_view(&mask, 1, 1, gray.get(), 4, 2);
    struct operation {
        const char* name;
        int32_t width, height;  // the part of the 6 by 4 view that changes
        std::function<void(raster_image*)> apply;
    };
    const operation operations[] = {
        {"copy", 5, 3, [&](raster_image* view) { image_copy(view, source.get()); }},
        {"convert", 6, 4, [&](raster_image* view) { image_convert(view, gray.get()); }},
        {"compose", 5, 3, [&](raster_image* view) { image_compose(source.get(), view); }},
        {"fill", 6, 4, [&](raster_image* view) { image_fill(view, 0xC0102030); }},
        {"fill_blend", 6, 4, [&](raster_image* view) { image_fill_blend(view, 0x80102030); }},
        {"gradient", 6, 4, [&](raster_image* view) { image_gradient(view, 0xFF000000, 0x80FFFFFF); }},
        {"tile", 6, 4, [&](raster_image* view) { image_tile(view, source.get(), 1, 2); }},
        {"darken", 4, 2, [&](raster_image* view) { image_darken_by_mask(&mask, view); }},
        {"blend_masked", 4, 2, [&](raster_image* view) { image_blend_masked(view, source.get(), &mask); }},
    };
    for (const int32_t type : {(int32_t)PIXEL_BGR24, BGRA}) {
        for (const operation& op : operations) {
            SCOPED_TRACE(op.name);
            image_ptr image = make_image(type, 9, 6);
            const auto before = scribble(image.get());
            raster_image view;
            image_view(&view, 1, 2, image.get(), 6, 4);
            op.apply(&view);
            expect_only_rectangle_changed(image.get(), before, 1, 2, op.width, op.height);
        }
    }
}

}  // namespace
