// The program's own pictures, stored as resources of the custom type "JPG".
#pragma once
#include <windows.h>

#include "raster/owned_image.h"

// The picture resource id of instance, decoded by its content into a new
// image, or null.
owned_image load_picture_resource(HINSTANCE instance, int id);
