// The print job's diagnostics records, written through a callback so that the
// Windows job can send them to its log file and tilora-cli to a stream. A
// null log, or one without a writer, takes every record and writes nothing,
// so callers log unconditionally.
#pragma once
#include "poster/geometry.h"
#include "poster/poster_craft.h"
#include "poster/print_job.h"

#include <cstdint>

struct job_log {
    void (*write)(void* user, const char* text) = nullptr;  // one whole record
    void (*memory_report)(void* user) = nullptr;             // the system's memory figures; may be null
    void* user = nullptr;
};

// Each record is formatted into a buffer of this size; a longer one is cut.
constexpr int job_log_record_size = 4096;

void job_log_printf(const job_log* log, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
// "LABEL: left, top, right, bottom" and "LABEL: first, second".
void job_log_rect(const job_log* log, const char* label, const int_rect& rect);
void job_log_pair(const job_log* log, const char* label, const int_size& pair);
void job_log_memory_report(const job_log* log);

// The records of one job, in the order the job writes them.
void log_job_device(const job_log* log, const device_caps& caps);
void log_job_model(const job_log* log, int_size picture, const int_rect& crop, smm_size page,
                   const smm_rect& paper_margin, smm_size poster, bool metric);
void log_job_print_start(const job_log* log, int_size img_size);
void log_job_print_area(const job_log* log, bool swap, const print_area& area);
void log_job_document(const job_log* log, const char* document_name, bool portrait);
void log_job_grid(const job_log* log, int_size npages, int32_t all_papers);
// The craft the job prints with: band, seamless sheets, labels, marks,
// assembly sheet, and the paper's name.
void log_job_craft(const job_log* log, const poster_craft& craft, const char* paper_name);
// counter: pages printed so far, so a skipped page repeats the number.
void log_job_page_header(const job_log* log, int32_t counter);
void log_job_page_position(const job_log* log, int32_t column, int32_t row);
// The page's size, the crop's size and its rectangles relative to crop and tile.
void log_job_page_piece(const job_log* log, const int_size& img_size, const page_rects& rects);
// The same rectangles once moved into picture and device coordinates.
void log_job_page_absolute(const job_log* log, const page_rects& rects);
// Seamless parts: the poster's device extent and where the part lies in it.
void log_job_page_seamless(const job_log* log, const page_rects& rects);
void log_job_page_end(const job_log* log, uint32_t seconds, bool success);
