// Windows metafiles (WMF, placeable WMF, EMF) in the generic read: a named
// file is rendered with the thread's metafile defaults. Only the Windows
// build renders; natively the read fails with "no reader" (error 17).
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

uint8_t* metafile_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                               uint8_t* palette);
