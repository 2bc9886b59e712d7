// One PDF document of sheets, for printing elsewhere: every sheet is a page of
// exactly the paper's size (the sheet's device pixels at the device
// resolution, never the paper less its margins, which would make print
// dialogs scale or centre it), and whatever was drawn on the sheet is one
// image placed at its exact physical position, one image pixel to a device
// pixel. Images are compressed losslessly, or as JPEG at a chosen quality.
#pragma once
#include "tools/cli/sheet_sink.h"

#include <memory>
#include <string>

struct pdf_document;

class pdf_sheets : public sheet_sink {
public:
    // jpeg_quality 0 keeps the pixels exactly; 1 to 100 stores JPEG. Every
    // page has the size of layout's sheet. Check ok() before the first sheet.
    pdf_sheets(const std::string& path, const sheet_layout& layout, int jpeg_quality);
    ~pdf_sheets() override;
    // False (after printing why) when the file cannot be made.
    bool ok() const;
    bool take_sheet(const char* name, const raster_image* sheet, const sheet_layout& layout) override;
    bool finish() override;

private:
    std::unique_ptr<pdf_document> document_;
};

// The part of a sheet that is not white paper: the smallest rectangle holding
// every pixel other than 0xFFFFFF; empty (all zero) for a blank sheet.
int_rect drawn_bounds(const raster_image* sheet);
