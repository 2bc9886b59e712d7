// Scope owners for kit blocks and images, so that every way out of a
// function releases what it took from the kit.
#pragma once
#include "raster/raster_image.h"

struct scoped_block {
    void* block;
    explicit scoped_block(void* b) : block(b) {}
    scoped_block(const scoped_block&) = delete;
    scoped_block& operator=(const scoped_block&) = delete;
    ~scoped_block() { kit_free(block); }
};

struct scoped_image {
    raster_image* image;
    explicit scoped_image(raster_image* i) : image(i) {}
    scoped_image(const scoped_image&) = delete;
    scoped_image& operator=(const scoped_image&) = delete;
    ~scoped_image() { image_free(image); }

    // Hands the image to the caller; the scope no longer frees it.
    raster_image* release()
    {
        raster_image* owned = image;
        image = nullptr;
        return owned;
    }
};
