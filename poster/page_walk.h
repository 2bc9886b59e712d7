// One print job's walk over the page grid, shared by the printer job and by
// tilora-cli pages: the log's opening records, then every page in printing
// order, skipped pages only counted, each printed page cut from the poster
// and handed to the job's target, with its log records and time.
#pragma once
#include "poster/geometry.h"
#include "poster/job_log.h"
#include "poster/page_flags.h"
#include "poster/poster_craft.h"
#include "poster/print_job.h"

#include <cstdint>

// What a job prints and on what, as its log's opening records show it.
struct poster_job {
    int_size picture;        // the whole working picture
    int_rect crop;           // its used part
    smm_size page;           // the tile the layout was made for
    smm_rect paper_margin;   // the user's margins
    smm_size poster;
    bool metric;
    device_caps caps;
    bool swap;               // physical offsets exchanged for landscape
    print_area area;         // measured on the job's device
    const char* document_name;
    bool portrait;           // column order, else row order
    int_size npages;
    const page_flags* flags;
    poster_craft craft = {};              // seamless sheets, band, labels, marks, assembly sheet
    const raster_image* image = nullptr;  // the working picture, for the assembly sheet
    const char* paper_name = "";          // shown on the assembly sheet; empty: the paper's size
};

// The device a walk prints on. Pages come one after another: start_page,
// print_page (unless the page could not be cut), end_page, pause_after.
class page_target {
public:
    virtual ~page_target() = default;
    // Starts a sheet; false leaves the page out and the walk goes on.
    virtual bool start_page() { return true; }
    // Prints the page, the counter-th printed; false when it failed.
    virtual bool print_page(grid_position page, int32_t counter, const page_rects& rects) = 0;
    // Puts a picture of device pixels on the current sheet with its top-left
    // corner at `at` (device coordinates): labels, trim marks and the bands
    // of the assembly sheet arrive this way. False when it failed.
    virtual bool send_image(const raster_image* image, int_point at) = 0;
    // Starts the assembly sheet, the extra first page; false leaves it out.
    virtual bool start_assembly_sheet() { return start_page(); }
    // Ends the sheet; false stops the walk (a failed page, or a cancelled job).
    virtual bool end_page(bool printed) { return printed; }
    // After a page and before its last log record, with its time in seconds.
    virtual void pause_after(uint32_t /*seconds*/) {}
};

// The records that open a job's log, from "DC" to the grid.
void log_job_opening(const job_log* log, const poster_job& job);

// How the job's sheets are cut.
sheet_frame job_sheet_frame(const poster_job& job);

// Walks the grid, after the assembly sheet when the craft asks for one;
// true when the walk reached its end, false when a page stopped it.
bool walk_pages(const poster_job& job, page_target& target, const job_log* log);
