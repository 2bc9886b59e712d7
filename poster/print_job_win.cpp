// The print job: every selected page of the poster's grid resampled to the
// printer's device pixels and sent to it one scan line at a time.
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/diag_log.h"
#include "app/shell.h"
#include "poster/job_log.h"
#include "poster/model_win.h"
#include "poster/print_command_win.h"
#include "poster/print_job.h"
#include "poster/print_piece.h"
#include "poster/print_progress_win.h"
#include "poster/printer_win.h"

namespace {

constexpr const char* document_name = "Tilora";
constexpr const char* quality_note =
    "Note: To change the quality or speed, change the print quality in printer properties.";
// A page done faster than this is followed by a pause of pause_ms.
constexpr DWORD fast_page_seconds = 2;
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

// What the job needs on every page.
struct job_context {
    HDC dc;
    int32_t dpi_x;
    int32_t dpi_y;
    print_area area;
    int_size img_size;
    int32_t all_papers;
};

// Ends the document and takes the job's windows down on every way out of
// the job, a thrown exception included.
class job_teardown {
public:
    explicit job_teardown(HDC dc, HWND main_window) : dc_(dc), main_window_(main_window) {}
    job_teardown(const job_teardown&) = delete;
    job_teardown& operator=(const job_teardown&) = delete;
    void document_started() { document_ = true; }
    ~job_teardown()
    {
        if (document_)
            EndDoc(dc_);
        // The main window is enabled before the dialog goes, so that it, and
        // not another program, gets the activation back.
        EnableWindow(main_window_, TRUE);
        if (g_print.progress_dialog) {
            HWND dialog = g_print.progress_dialog;
            g_print.progress_dialog = nullptr;
            DestroyWindow(dialog);
        }
        set_sheet_picture(nullptr, {0, 0});
        g_print.print_running = false;
        DeleteDC(dc_);
        job_log_printf(&diagnostics_log, "print end\n");
    }

private:
    HDC dc_;
    HWND main_window_;
    bool document_ = false;
};

void log_model()
{
    const raster_image* image = g_model.g_image;
    log_job_model(&diagnostics_log, {image->width, image->height}, g_model.g_image_crop, g_model.g_page,
                  g_model.g_paper_margin, g_model.g_poster, g_model.g_metric);
}

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

// Fills the dialog's printer and quality lines from the DEVMODE; true when
// the pages are to be printed in portrait order.
bool show_printer(HWND dialog)
{
    bool portrait = true;
    SetDlgItemTextA(dialog, IDC_NOTE, quality_note);
    auto* mode = g_model.printer_devmode ? static_cast<const DEVMODEA*>(GlobalLock(g_model.printer_devmode))
                                         : nullptr;
    if (!mode)
        return portrait;
    char text[128];
    std::snprintf(text, sizeof text, "%.*s", static_cast<int>(sizeof mode->dmDeviceName),
                  reinterpret_cast<const char*>(mode->dmDeviceName));
    SetDlgItemTextA(dialog, IDC_PRINTER_NAME, text);
    quality_text(*mode, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_QUALITY, text);
    portrait = !((mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE);
    GlobalUnlock(g_model.printer_devmode);
    return portrait;
}

// The page's part at the size it has in the dialog's paper drawing.
void update_sheet_picture(const job_context& job, const page_rects& rects)
{
    int_rect at;
    raster_image view;
    if (!sheet_picture_rect(rects.page_rect, job.dpi_x, job.dpi_y, job.area.page_margin, job.area.paper,
                            g_print.paper_drawing, &at) ||
        !piece_view(g_model.g_image, rects.picture_rect, &view)) {
        set_sheet_picture(nullptr, {0, 0});
        return;
    }
    raster_image* part = image_create(PIXEL_BGR24, at.right - at.left, at.bottom - at.top);
    if (part && !image_resize(nullptr, &view, part, RESIZE_NEAREST)) {
        image_free(part);
        part = nullptr;
    }
    set_sheet_picture(part, {at.left, at.top});
}

bool before_row(void*, double fraction)
{
    show_stage("Printing", fraction);
    pump_messages();
    return g_print.print_running;
}

bool send_row(void* user, int32_t x, int32_t y, const uint8_t* pixels, int32_t width)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    HDC dc = static_cast<HDC>(user);
    return SetDIBitsToDevice(dc, x, y, width, 1, 0, 0, 0, 1, pixels, reinterpret_cast<BITMAPINFO*>(&header),
                             DIB_RGB_COLORS) == 1;
}

void draw_corner_marks(const job_context& job, const int_rect& device_rect)
{
    HPEN pen = CreatePen(PS_DASH, 1, RGB(200, 200, 200));
    HGDIOBJ old_pen = SelectObject(job.dc, pen);
    for (const line_segment& line : corner_marks(device_rect, job.dpi_x, job.dpi_y)) {
        MoveToEx(job.dc, line.from.x, line.from.y, nullptr);
        LineTo(job.dc, line.to.x, line.to.y);
    }
    SelectObject(job.dc, old_pen);
    DeleteObject(pen);
}

// Prints the page in column, row, already started; the job stops when the
// page fails.
void print_page(const job_context& job, grid_position page, int32_t counter)
{
    char text[64];
    std::snprintf(text, sizeof text, "Page  %d / %d", static_cast<int>(counter), static_cast<int>(job.all_papers));
    SetDlgItemTextA(g_print.progress_dialog, IDC_PAGE_COUNTER, text);

    page_rects rects;
    if (!page_rects_for(g_model.g_poster, job.area, g_model.g_image_crop, page.column, page.row, &rects)) {
        g_print.print_running = false;
        return;
    }
    log_job_page_piece(&diagnostics_log, job.img_size, rects);
    update_sheet_picture(job, rects);
    log_job_page_absolute(&diagnostics_log, rects);

    raster_image view;
    piece_row_sink sink;
    sink.before_row = before_row;
    sink.send_row = send_row;
    sink.user = job.dc;
    if (!piece_view(g_model.g_image, rects.picture_rect, &view) ||
        !print_piece(&view, rects.device_rect, resize_progress, sink, &diagnostics_log))
        g_print.print_running = false;
    else if (g_print.print_running && g_print.print_margins)
        draw_corner_marks(job, rects.device_rect);
}

void page_loop(const job_context& job, int_size npages, bool portrait)
{
    grid_position page = {0, 0};
    int32_t counter = 0;
    do {
        log_job_page_header(&diagnostics_log, counter);
        if (!page_flag(g_model.pages, page.column, page.row))
            continue;
        log_job_page_position(&diagnostics_log, page.column, page.row);
        // A page the printer will not start is left out; the job goes on.
        if (StartPage(job.dc) <= 0)
            continue;
        const DWORD start = GetTickCount();
        counter += 1;
        print_page(job, page, counter);
        EndPage(job.dc);
        if (g_print.print_running && g_print.progress_dialog)
            SendDlgItemMessageA(g_print.progress_dialog, IDC_PROGRESS_BAR, PBM_SETPOS, counter, 0);
        const DWORD seconds = (GetTickCount() - start) / 1000;
        if (g_print.print_running && seconds < fast_page_seconds)
            Sleep(pause_ms);
        log_job_page_end(&diagnostics_log, seconds, g_print.print_running);
    } while (g_print.print_running && next_grid_position(page, npages, portrait));
}

}  // namespace

void run_print_job(HWND main_window)
{
    if (!g_model.g_image)
        return;
    job_log_printf(&diagnostics_log, "print begin\n");
    const bool swap = needs_offset_swap(g_model.printer_devnames, g_model.printer_devmode);
    HDC dc = create_printer_dc(g_model.printer_devnames, g_model.printer_devmode);
    if (!dc) {
        MessageBoxA(main_window, "Printer not found.", app_caption, MB_OK | MB_ICONERROR);
        return;
    }
    const device_caps caps = read_device_caps(dc);
    log_job_device(&diagnostics_log, caps);
    log_model();

    g_print.print_running = true;
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = document_name;
    if (StartDocA(dc, &document) <= 0) {
        g_print.print_running = false;
        DeleteDC(dc);
        job_log_printf(&diagnostics_log, "print end\n");
        return;
    }
    job_teardown teardown(dc, main_window);
    teardown.document_started();

    job_context job{dc, caps.dpi_x, caps.dpi_y, {}, crop_size(), all_papers(g_model.pages)};
    log_job_print_start(&diagnostics_log, job.img_size);
    const std::optional<print_area> area = measure_print_area(caps, swap, &g_model.g_paper_margin);
    if (!area)
        return;  // a device without a resolution: nothing can be placed on it
    job.area = *area;
    log_job_print_area(&diagnostics_log, swap, job.area);
    g_print.paper = job.area.paper;

    set_sheet_picture(nullptr, {0, 0});
    EnableWindow(main_window, FALSE);
    g_print.progress_dialog = open_progress_dialog(main_window);
    SetAbortProc(dc, print_abort_proc);

    const bool portrait = show_printer(g_print.progress_dialog);
    SetDlgItemTextA(g_print.progress_dialog, IDC_DOCUMENT_NAME, document_name);
    log_job_document(&diagnostics_log, document_name, portrait);

    const int_size npages = pages_needed(g_model.g_poster, g_model.g_page);
    log_job_grid(&diagnostics_log, npages, job.all_papers);
    SendDlgItemMessageA(g_print.progress_dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, job.all_papers);
    page_loop(job, npages, portrait);
}
