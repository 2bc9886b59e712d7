// Links the portable raster kit into a Windows API program and resizes an
// image: proves the two halves of the Windows build agree on types and
// calling conventions, and that the kit's memory comes from VirtualAlloc.
#include <windows.h>

#include <cstdio>

#include "raster/raster_image.h"
#include "raster/resize.h"

int main()
{
    kit_init();
    raster_image* source = image_create(PIXEL_BGR24, 40, 30);
    raster_image* target = image_create(PIXEL_BGR24, 97, 61);
    if (!source || !target) {
        std::printf("smoke: image_create failed\n");
        return 1;
    }
    MEMORY_BASIC_INFORMATION info{};
    if (!VirtualQuery(source, &info, sizeof info) || info.State != MEM_COMMIT || info.Type != MEM_PRIVATE) {
        std::printf("smoke: image block is not committed virtual memory\n");
        return 1;
    }
    image_fill(source, 0xFF3080C0);
    if (!image_resize(nullptr, source, target, RESIZE_LANCZOS3)) {
        std::printf("smoke: image_resize failed\n");
        return 1;
    }
    const uint32_t pixel = image_get_pixel(target, 60, 96);
    if ((pixel & 0xFFFFFF) != 0x3080C0) {
        std::printf("smoke: resized pixel is %08x\n", (unsigned)pixel);
        return 1;
    }
    image_free(source);
    image_free(target);
    kit_shutdown();
    std::printf("smoke: ok\n");
    return 0;
}
