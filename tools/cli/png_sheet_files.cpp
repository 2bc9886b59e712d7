#include "tools/cli/picture_input.h"
#include "tools/cli/png_output.h"
#include "tools/cli/sheet_sink.h"

bool png_sheet_files::take_sheet(const char* name, const raster_image* sheet, const sheet_layout&)
{
    const std::string path = folder_ + "/" + name + ".png";
    std::string reason;
    if (write_image_png(path.c_str(), sheet, &reason, png_effort::fast))
        return true;
    report_write_failure(path.c_str(), reason);
    return false;
}
