// libpng fed from a source, with its errors thrown as ISException.
#pragma once
#include <png.h>

#include "imageio/source.h"

// The read and info structures over a source. libpng's errors are traced
// and thrown as ISException with code 15 (a short read is the error "read
// Error"); its warnings are traced. Creating fails with ISException 16.
class png_reader {
public:
    explicit png_reader(CISIO& io);
    ~png_reader();
    png_reader(const png_reader&) = delete;
    png_reader& operator=(const png_reader&) = delete;

    png_structp png = nullptr;
    png_infop info = nullptr;
};
