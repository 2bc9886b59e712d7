// Where tilora-cli pages puts its rendered sheets: PNG files in a folder, one
// PDF document, or both. Whatever the sheet renderer drew is on the sheet a
// sink receives; the sink only stores it.
#pragma once
#include "poster/print_job.h"
#include "raster/raster_image.h"
#include "tools/cli/page_render.h"

#include <string>

class sheet_sink {
public:
    virtual ~sheet_sink() = default;
    // Stores one rendered sheet (PIXEL_BGR24, the full paper in device
    // pixels) named "page-C-R" or "assembly"; false after printing why it
    // could not.
    virtual bool take_sheet(const char* name, const raster_image* sheet, const sheet_layout& layout) = 0;
    // Completes the output after the last sheet; false after printing why.
    virtual bool finish() { return true; }
};

// DIR/NAME.png per sheet: page-C-R.png, assembly.png.
class png_sheet_files : public sheet_sink {
public:
    explicit png_sheet_files(std::string folder) : folder_(std::move(folder)) {}
    bool take_sheet(const char* name, const raster_image* sheet, const sheet_layout& layout) override;

private:
    std::string folder_;
};
