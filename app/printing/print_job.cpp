// The print job: every selected page of the poster's grid resampled to the
// printer's device pixels and sent to it one scan line at a time.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/base/app_caption.h"
#include "app/diagnostics/diag_log.h"
#include "app/printing/print_command.h"
#include "app/printing/print_progress.h"
#include "poster/job_log.h"
#include "poster/page_walk.h"
#include "poster/print_job.h"
#include "poster/print_piece.h"
#include "poster/sheet_grid.h"
#include "raster/resize.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* document_name = "Tilora";
constexpr const char* quality_note =
    "Note: To change the quality or speed, change the print quality in printer properties.";
// A page done faster than this is followed by a pause of pause_ms.
constexpr uint32_t fast_page_seconds = 2;
constexpr DWORD pause_ms = 2000;

void write_record(void*, const char* text)
{
    log_printf("%s", text);
}

void write_memory_report(void*)
{
    log_memory_report();
}

const job_log diagnostics_log = {write_record, write_memory_report, nullptr};

// Ends the document and takes the job's windows down on every way out of
// the job, a thrown exception included.
class job_teardown {
public:
    job_teardown(print_job_state& job, HDC dc, HWND main_window) : job_(job), dc_(dc), main_window_(main_window) {}
    job_teardown(const job_teardown&) = delete;
    job_teardown& operator=(const job_teardown&) = delete;
    ~job_teardown()
    {
        EndDoc(dc_);
        // The main window is enabled before the dialog goes, so that it, and
        // not another program, gets the activation back.
        EnableWindow(main_window_, TRUE);
        if (job_.progress_dialog) {
            HWND dialog = job_.progress_dialog;
            job_.progress_dialog = nullptr;
            DestroyWindow(dialog);
        }
        set_sheet_picture(job_, nullptr, {0, 0});
        job_.print_running = false;
        set_running_job(nullptr);
    }

private:
    print_job_state& job_;
    HDC dc_;
    HWND main_window_;
};

// The quality line's word for a DEVMODE's print quality.
void quality_text(const DEVMODEA& mode, char* text, size_t size)
{
    const char* word = "default";
    if (mode.dmFields & DM_PRINTQUALITY) {
        switch (mode.dmPrintQuality) {
        case DMRES_HIGH: word = "high"; break;
        case DMRES_MEDIUM: word = "medium"; break;
        case DMRES_LOW: word = "low"; break;
        case DMRES_DRAFT: word = "draft"; break;
        default:
            if (mode.dmPrintQuality > 0) {
                std::snprintf(text, size, "Quality: %i DPI", static_cast<int>(mode.dmPrintQuality));
                return;
            }
        }
    }
    std::snprintf(text, size, "Quality: %s", word);
}

// Fills the dialog's printer and quality lines from the DEVMODE.
void show_printer(HWND dialog, HGLOBAL devmode)
{
    SetDlgItemTextA(dialog, IDC_NOTE, quality_note);
    auto* mode = devmode ? static_cast<const DEVMODEA*>(GlobalLock(devmode)) : nullptr;
    if (!mode)
        return;
    char text[128];
    std::snprintf(text, sizeof text, "%.*s", static_cast<int>(sizeof mode->dmDeviceName),
                  reinterpret_cast<const char*>(mode->dmDeviceName));
    SetDlgItemTextA(dialog, IDC_PRINTER_NAME, text);
    quality_text(*mode, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_QUALITY, text);
    GlobalUnlock(devmode);
}

bool send_row_to_device(HDC dc, int32_t x, int32_t y, const uint8_t* pixels, int32_t width)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return SetDIBitsToDevice(dc, x, y, width, 1, 0, 0, 0, 1, pixels, reinterpret_cast<BITMAPINFO*>(&header),
                             DIB_RGB_COLORS) == 1;
}

// The printer as the page walk sees it: pages started and ended on the
// device, each part sent row by row, the dialog following along.
class printer_pages : public page_target {
public:
    printer_pages(print_job_state& job, HDC dc, const poster_job& poster, const raster_image* picture,
                  bool print_margins)
        : job_(job), dc_(dc), poster_(poster), picture_(picture), print_margins_(print_margins)
    {
    }

    bool start_page() override { return StartPage(dc_) > 0; }

    bool print_page(grid_position, int32_t counter, const page_rects& rects) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "Page  %d / %d", static_cast<int>(counter),
                      static_cast<int>(all_papers(*poster_.flags)));
        SetDlgItemTextA(job_.progress_dialog, IDC_PAGE_COUNTER, text);
        update_sheet_picture(rects);

        piece_row_sink sink;
        sink.before_row = before_row;
        sink.send_row = send_row;
        sink.user = this;
        if (!print_page_part(picture_, poster_.crop, rects, resize_progress, sink, &diagnostics_log))
            return false;
        if (job_.print_running && print_margins_)
            draw_corner_marks(rects.device_rect);
        return true;
    }

    // Labels, trim marks and the assembly sheet's bands, row by row like the
    // picture's parts, so that the printer gets exactly tilora-cli's pixels.
    bool send_image(const raster_image* image, int_point at) override
    {
        pump_messages(job_);
        if (!job_.print_running)
            return false;
        for (int32_t y = 0; y < image->height; ++y)
            if (!send_row_to_device(dc_, at.x, at.y + y, image->pixels + static_cast<ptrdiff_t>(y) * image->stride,
                                    image->width))
                return false;
        return true;
    }

    bool end_page(bool printed) override
    {
        if (!printed)
            job_.print_running = false;
        EndPage(dc_);
        counter_ += 1;
        if (job_.print_running && job_.progress_dialog)
            SendDlgItemMessageA(job_.progress_dialog, IDC_PROGRESS_BAR, PBM_SETPOS, counter_, 0);
        return job_.print_running;
    }

    void pause_after(uint32_t seconds) override
    {
        if (job_.print_running && seconds < fast_page_seconds)
            Sleep(pause_ms);
    }

private:
    static bool before_row(void* user, double fraction)
    {
        print_job_state& job = static_cast<printer_pages*>(user)->job_;
        show_stage(job, "Printing", fraction);
        pump_messages(job);
        return job.print_running;
    }

    static bool send_row(void* user, int32_t x, int32_t y, const uint8_t* pixels, int32_t width)
    {
        return send_row_to_device(static_cast<printer_pages*>(user)->dc_, x, y, pixels, width);
    }

    // The page's part at the size it has in the dialog's paper drawing.
    void update_sheet_picture(const page_rects& rects)
    {
        int_rect at;
        raster_image view;
        const print_area& area = poster_.area;
        if (!sheet_picture_rect(rects.page_rect, poster_.caps.dpi_x, poster_.caps.dpi_y, area.page_margin,
                                area.paper, job_.paper_drawing, &at) ||
            !piece_view(picture_, rects.picture_rect, &view)) {
            set_sheet_picture(job_, nullptr, {0, 0});
            return;
        }
        owned_image part(image_create(PIXEL_BGR24, at.right - at.left, at.bottom - at.top));
        if (part && !image_resize(nullptr, &view, part.get(), RESIZE_NEAREST))
            part.reset();
        set_sheet_picture(job_, std::move(part), {at.left, at.top});
    }

    void draw_corner_marks(const int_rect& device_rect)
    {
        owned_pen pen(CreatePen(PS_DASH, 1, RGB(200, 200, 200)));
        selection use_pen(dc_, pen.get());
        for (const line_segment& line : corner_marks(device_rect, poster_.caps.dpi_x, poster_.caps.dpi_y)) {
            MoveToEx(dc_, line.from.x, line.from.y, nullptr);
            LineTo(dc_, line.to.x, line.to.y);
        }
    }

    print_job_state& job_;
    HDC dc_;
    const poster_job& poster_;
    const raster_image* picture_;
    bool print_margins_;
    int32_t counter_ = 0;
};

}  // namespace

void run_print_job(const print_request& request)
{
    const poster_document& document = *request.document;
    const raster_image* picture = document.g_image();
    if (!picture)
        return;
    const HGLOBAL devmode = request.printer->devmode();
    const HGLOBAL devnames = request.printer->devnames();
    job_log_printf(&diagnostics_log, "print begin\n");
    const bool swap = needs_offset_swap(devnames, devmode);
    const owned_dc dc = create_printer_dc(devnames, devmode);
    if (!dc) {
        MessageBoxA(request.main_window, "Printer not found.", app_caption, MB_OK | MB_ICONERROR);
        return;
    }
    const device_caps caps = read_device_caps(dc.get());
    const std::optional<print_area> area = measure_print_area(caps, swap, &document.g_paper_margin());
    const page_flags& flags = document.pages();
    const poster_craft& craft = document.craft();
    const poster_job poster = {{picture->width, picture->height},
                               document.g_image_crop(),
                               document.g_page(),
                               document.g_paper_margin(),
                               document.g_poster(),
                               document.g_metric(),
                               caps,
                               swap,
                               area.value_or(print_area{}),
                               document_name,
                               !printer_landscape(devmode),
                               sheets_needed(document.g_poster(), document.g_page(), craft.overlap),
                               &flags,
                               craft,
                               picture,
                               document.paper_name().c_str()};
    log_job_opening(&diagnostics_log, poster);

    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = document_name;
    // A device without a resolution has nowhere to place a page.
    if (!area || StartDocA(dc.get(), &info) <= 0) {
        job_log_printf(&diagnostics_log, "print end\n");
        return;
    }
    print_job_state job;
    job.print_running = true;
    job.paper = area->paper;
    set_running_job(&job);
    {
        job_teardown teardown(job, dc.get(), request.main_window);
        EnableWindow(request.main_window, FALSE);
        job.progress_dialog = open_progress_dialog(request.main_window, &job);
        SetAbortProc(dc.get(), print_abort_proc);
        show_printer(job.progress_dialog, devmode);
        SetDlgItemTextA(job.progress_dialog, IDC_DOCUMENT_NAME, document_name);
        SendDlgItemMessageA(job.progress_dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, all_papers(flags));
        printer_pages pages(job, dc.get(), poster, picture, *request.print_margins);
        walk_pages(poster, pages, &diagnostics_log);
    }
    job_log_printf(&diagnostics_log, "print end\n");
}
