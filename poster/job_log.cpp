// The print job's diagnostics records.
#include "poster/job_log.h"

#include <cstdarg>
#include <cstdio>

void job_log_printf(const job_log* log, const char* format, ...)
{
    if (!log || !log->write)
        return;
    char record[job_log_record_size];
    va_list args;
    va_start(args, format);
    std::vsnprintf(record, sizeof record, format, args);
    va_end(args);
    log->write(log->user, record);
}

void job_log_rect(const job_log* log, const char* label, const int_rect& rect)
{
    job_log_printf(log, "%s: %i, %i, %i, %i\n", label, rect.left, rect.top, rect.right, rect.bottom);
}

void job_log_pair(const job_log* log, const char* label, const int_size& pair)
{
    job_log_printf(log, "%s: %i, %i\n", label, pair.width, pair.height);
}

void job_log_memory_report(const job_log* log)
{
    if (log && log->write && log->memory_report)
        log->memory_report(log->user);
}

void log_job_device(const job_log* log, const device_caps& caps)
{
    job_log_printf(log, "DC ---------------------------:\n");
    job_log_printf(log, "LOGPIXELSX: %i\n", caps.dpi_x);
    job_log_printf(log, "LOGPIXELSY: %i\n\n", caps.dpi_y);
    job_log_printf(log, "PHYSICALWIDTH: %i\n", caps.physical_width);
    job_log_printf(log, "PHYSICALHEIGHT: %i\n\n", caps.physical_height);
    job_log_printf(log, "HORZRES: %i\n", caps.horz_res);
    job_log_printf(log, "VERTRES: %i\n\n", caps.vert_res);
    job_log_printf(log, "PHYSICALOFFSETX: %i\n", caps.physical_offset_x);
    job_log_printf(log, "PHYSICALOFFSETY: %i\n\n", caps.physical_offset_y);
}

void log_job_model(const job_log* log, int_size picture, const int_rect& crop, smm_size page,
                   const smm_rect& paper_margin, smm_size poster, bool metric)
{
    job_log_printf(log, "Global variables ---------------------------\n");
    job_log_printf(log, "g_image size: %i, %i\n", picture.width, picture.height);
    job_log_rect(log, "g_image_crop", crop);
    job_log_pair(log, "g_page", page);
    job_log_rect(log, "g_paper_margin", paper_margin);
    job_log_pair(log, "g_poster", poster);
    job_log_printf(log, "g_metric: %i\n", metric ? 1 : 0);
}

void log_job_print_start(const job_log* log, int_size img_size)
{
    job_log_printf(log, "Print ---------------------------\n");
    job_log_pair(log, "img_size", img_size);
}

void log_job_print_area(const job_log* log, bool swap, const print_area& area)
{
    job_log_printf(log, "swap: %i\n", swap ? 1 : 0);
    job_log_pair(log, "print_size (smm)", area.print_size);
    job_log_rect(log, "print_rect (px)", area.print_rect);
    job_log_rect(log, "page_margin (smm)", area.page_margin);
    job_log_pair(log, "paper (smm)", area.paper);
}

void log_job_document(const job_log* log, const char* document_name, bool portrait)
{
    job_log_printf(log, "di.lpszDocName: %s\n", document_name);
    job_log_printf(log, "portrait: %i\n", portrait ? 1 : 0);
}

void log_job_grid(const job_log* log, int_size npages, int32_t all_papers)
{
    job_log_pair(log, "npages", npages);
    job_log_printf(log, "all_papers: %i\n", all_papers);
}

void log_job_craft(const job_log* log, const poster_craft& craft, const char* paper_name)
{
    job_log_printf(log, "overlap (smm): %i\n", craft.overlap);
    job_log_printf(log, "seamless: %i\n", craft.seamless ? 1 : 0);
    job_log_printf(log, "labels: %i\n", craft.labels ? 1 : 0);
    job_log_printf(log, "trim_marks: %i\n", craft.trim_marks ? 1 : 0);
    job_log_printf(log, "assembly_sheet: %i\n", craft.assembly_sheet ? 1 : 0);
    job_log_printf(log, "paper_name: %s\n", paper_name ? paper_name : "");
}

void log_job_page_header(const job_log* log, int32_t counter)
{
    job_log_printf(log, "Page %i --------------------------------------------------\n", counter);
}

void log_job_page_position(const job_log* log, int32_t column, int32_t row)
{
    job_log_printf(log, "page_x: %i, page_y: %i\n", column, row);
}

void log_job_page_piece(const job_log* log, const int_size& img_size, const page_rects& rects)
{
    job_log_pair(log, "page_du", rects.page_du);
    job_log_pair(log, "img_size", img_size);
    job_log_rect(log, "image_rect", rects.image_rect);
    job_log_rect(log, "page_rect", rects.page_rect);
}

void log_job_page_absolute(const job_log* log, const page_rects& rects)
{
    job_log_rect(log, "image_rect", rects.picture_rect);
    job_log_rect(log, "page_rect", rects.device_rect);
}

void log_job_page_seamless(const job_log* log, const page_rects& rects)
{
    job_log_pair(log, "poster_du", rects.poster_du);
    job_log_pair(log, "part_at", {rects.part_at.x, rects.part_at.y});
}

void log_job_page_end(const job_log* log, uint32_t seconds, bool success)
{
    job_log_printf(log, "page time (s): %i\n", static_cast<int>(seconds));
    job_log_printf(log, "page_success: %i\n", success ? 1 : 0);
}
