// The page walk of a print job.
#include "poster/page_walk.h"

#include <algorithm>
#include <chrono>

#include "poster/assembly_sheet.h"
#include "poster/sheet_grid.h"
#include "poster/sheet_marks.h"

namespace {

// Rows of the assembly sheet drawn and sent at a time.
constexpr int32_t assembly_band_rows = 256;

bool print_assembly_sheet(const poster_job& job, page_target& target, const job_log* log)
{
    const int_rect& area = job.area.print_rect;
    job_log_rect(log, "assembly_rect", area);
    if (!job.image || area.right <= area.left || area.bottom <= area.top)
        return false;
    const assembly_input input = {job.image,    job.crop,         job.poster,     job.area.print_size,
                                  job.craft.overlap, job.flags,   job.metric,     job.paper_name,
                                  job.area.paper, area,           job.caps.dpi_x, job.caps.dpi_y};
    const assembly_layout layout = layout_assembly_sheet(input);
    for (int32_t top = area.top; top < area.bottom; top += assembly_band_rows) {
        owned_image band(image_create(PIXEL_BGR24, area.right - area.left, std::min(assembly_band_rows, area.bottom - top)));
        if (!band)
            return false;
        draw_assembly_band(input, layout, top, band.get());
        if (!target.send_image(band.get(), {area.left, top}))
            return false;
    }
    return true;
}

bool print_decorations(const poster_job& job, grid_position page, const page_rects& rects, page_target& target)
{
    if (!job.craft.labels && !job.craft.trim_marks)
        return true;
    device_placement placement{};
    const sheet_frame frame = job_sheet_frame(job);
    const int_size band_du =
        job.craft.overlap > 0 && place_poster_on_device(job.poster, job.npages, rects.page_du, job.craft.overlap,
                                                        frame.dpi_x, frame.dpi_y, &placement)
            ? placement.band_du
            : int_size{0, 0};
    const sheet_context sheet = {rects.device_rect, {job.caps.horz_res, job.caps.vert_res}, page.column, page.row,
                                 job.npages,        band_du,          job.caps.dpi_x,  job.caps.dpi_y};
    for (const placed_picture& picture : sheet_decorations(sheet, job.craft.labels, job.craft.trim_marks))
        if (!target.send_image(picture.image.get(), picture.at))
            return false;
    return true;
}

}  // namespace

sheet_frame job_sheet_frame(const poster_job& job)
{
    sheet_frame frame;
    frame.poster = job.poster;
    frame.area = job.area;
    frame.overlap = job.craft.overlap;
    frame.seamless = job.craft.seamless;
    frame.dpi_x = job.caps.dpi_x;
    frame.dpi_y = job.caps.dpi_y;
    return frame;
}

void log_job_opening(const job_log* log, const poster_job& job)
{
    log_job_device(log, job.caps);
    log_job_model(log, job.picture, job.crop, job.page, job.paper_margin, job.poster, job.metric);
    const int_size img_size = {job.crop.right - job.crop.left, job.crop.bottom - job.crop.top};
    log_job_print_start(log, img_size);
    log_job_print_area(log, job.swap, job.area);
    log_job_document(log, job.document_name, job.portrait);
    log_job_grid(log, job.npages, all_papers(*job.flags));
    log_job_craft(log, job.craft, job.paper_name);
}

bool walk_pages(const poster_job& job, page_target& target, const job_log* log)
{
    const int_size img_size = {job.crop.right - job.crop.left, job.crop.bottom - job.crop.top};
    const sheet_frame frame = job_sheet_frame(job);
    bool going = true;
    if (job.craft.assembly_sheet) {
        job_log_printf(log, "Assembly sheet --------------------------------------------------\n");
        if (target.start_assembly_sheet()) {
            going = target.end_page(print_assembly_sheet(job, target, log));
            job_log_printf(log, "page_success: %i\n", going ? 1 : 0);
        }
        if (!going)
            return false;
    }
    grid_position page = {0, 0};
    int32_t counter = 0;
    do {
        log_job_page_header(log, counter);
        if (!page_flag(*job.flags, page.column, page.row))
            continue;
        log_job_page_position(log, page.column, page.row);
        if (!target.start_page())
            continue;
        const auto start = std::chrono::steady_clock::now();
        counter += 1;
        page_rects rects;
        bool printed = sheet_rects_for(frame, job.crop, page.column, page.row, &rects);
        if (printed) {
            log_job_page_piece(log, img_size, rects);
            log_job_page_absolute(log, rects);
            log_job_page_seamless(log, rects);
            printed = target.print_page(page, counter, rects) && print_decorations(job, page, rects, target);
        }
        going = target.end_page(printed);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const auto seconds = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
        target.pause_after(seconds);
        log_job_page_end(log, seconds, going);
    } while (going && next_grid_position(page, job.npages, job.portrait));
    return going;
}
