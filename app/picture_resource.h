// The program's own pictures, stored as resources of the custom type "JPG".
#pragma once
#include "raster/raster_image.h"

enum : int {
    PICTURE_STARTUP = 126,
    PICTURE_SPLASH = 127,
    PICTURE_CAPTIONS = 135,
    PICTURE_LOGO = 136,
    PICTURE_BACKGROUND = 137,
};

// The picture resource id, decoded by its content into a new image (the
// caller owns it), or null.
raster_image* load_picture_resource(int id);
