#include "tools/cli/picture_input.h"
#include "tools/cli/png_output.h"
#include "tools/cli/sheet_sink.h"

bool png_sheet_files::take_sheet(grid_position page, const raster_image* sheet, const sheet_layout&)
{
    const std::string path =
        folder_ + "/page-" + std::to_string(page.column) + "-" + std::to_string(page.row) + ".png";
    std::string reason;
    if (write_image_png(path.c_str(), sheet, &reason, png_effort::fast))
        return true;
    report_write_failure(path.c_str(), reason);
    return false;
}
