// The page walk of a print job.
#include "poster/page_walk.h"

#include <chrono>

void log_job_opening(const job_log* log, const poster_job& job)
{
    log_job_device(log, job.caps);
    log_job_model(log, job.picture, job.crop, job.page, job.paper_margin, job.poster, job.metric);
    const int_size img_size = {job.crop.right - job.crop.left, job.crop.bottom - job.crop.top};
    log_job_print_start(log, img_size);
    log_job_print_area(log, job.swap, job.area);
    log_job_document(log, job.document_name, job.portrait);
    log_job_grid(log, job.npages, all_papers(*job.flags));
}

bool walk_pages(const poster_job& job, page_target& target, const job_log* log)
{
    const int_size img_size = {job.crop.right - job.crop.left, job.crop.bottom - job.crop.top};
    grid_position page = {0, 0};
    int32_t counter = 0;
    bool going = true;
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
        bool printed = page_rects_for(job.poster, job.area, job.crop, page.column, page.row, &rects);
        if (printed) {
            log_job_page_piece(log, img_size, rects);
            log_job_page_absolute(log, rects);
            printed = target.print_page(page, counter, rects);
        }
        going = target.end_page(printed);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const auto seconds = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
        target.pause_after(seconds);
        log_job_page_end(log, seconds, going);
    } while (going && next_grid_position(page, job.npages, job.portrait));
    return going;
}
