#include "poster/job_log.h"

#include <gtest/gtest.h>

#include <string>

namespace {

job_log string_log(std::string* text)
{
    job_log log;
    log.user = text;
    log.write = [](void* user, const char* record) { *static_cast<std::string*>(user) += record; };
    return log;
}

TEST(JobLog, RecordsOfAJobInTheirFormats)
{
    std::string text;
    const job_log log = string_log(&text);
    log_job_device(&log, {600, 600, 4960, 7016, 4760, 6816, 100, 100});
    log_job_model(&log, {4000, 3000}, {0, 0, 4000, 3000}, {18496, 27200}, {500, 500, 2000, 2000}, {40000, 30000},
                  true);
    log_job_print_start(&log, {4000, 3000});
    print_area area{};
    area.print_size = {18496, 27200};
    area.print_rect = {18, 18, 4388, 6444};
    area.page_margin = {500, 500, 2000, 2000};
    area.paper = {20996, 29700};
    log_job_print_area(&log, false, area);
    log_job_document(&log, "Tilora", true);
    log_job_grid(&log, {3, 2}, 5);
    log_job_page_header(&log, 0);
    log_job_page_position(&log, 0, 0);
    page_rects rects{{4370, 6426}, {0, 0, 1075, 1500}, {1830, 2881, 4370, 6426}, {0, 0, 1075, 1500},
                     {1848, 2899, 4388, 6444}};
    log_job_page_piece(&log, {4000, 3000}, rects);
    log_job_page_absolute(&log, rects);
    log_job_page_end(&log, 3, true);
    EXPECT_EQ(text,
              "DC ---------------------------:\n"
              "LOGPIXELSX: 600\nLOGPIXELSY: 600\n\n"
              "PHYSICALWIDTH: 4960\nPHYSICALHEIGHT: 7016\n\n"
              "HORZRES: 4760\nVERTRES: 6816\n\n"
              "PHYSICALOFFSETX: 100\nPHYSICALOFFSETY: 100\n\n"
              "Global variables ---------------------------\n"
              "g_image size: 4000, 3000\n"
              "g_image_crop: 0, 0, 4000, 3000\n"
              "g_page: 18496, 27200\n"
              "g_paper_margin: 500, 500, 2000, 2000\n"
              "g_poster: 40000, 30000\n"
              "g_metric: 1\n"
              "Print ---------------------------\n"
              "img_size: 4000, 3000\n"
              "swap: 0\n"
              "print_size (smm): 18496, 27200\n"
              "print_rect (px): 18, 18, 4388, 6444\n"
              "page_margin (smm): 500, 500, 2000, 2000\n"
              "paper (smm): 20996, 29700\n"
              "di.lpszDocName: Tilora\n"
              "portrait: 1\n"
              "npages: 3, 2\n"
              "all_papers: 5\n"
              "Page 0 --------------------------------------------------\n"
              "page_x: 0, page_y: 0\n"
              "page_du: 4370, 6426\n"
              "img_size: 4000, 3000\n"
              "image_rect: 0, 0, 1075, 1500\n"
              "page_rect: 1830, 2881, 4370, 6426\n"
              "image_rect: 0, 0, 1075, 1500\n"
              "page_rect: 1848, 2899, 4388, 6444\n"
              "page time (s): 3\n"
              "page_success: 1\n");
}

TEST(JobLog, WithoutAWriterNothingHappensAndLongRecordsAreCut)
{
    job_log_printf(nullptr, "%s", "x");
    job_log silent;
    job_log_printf(&silent, "%s", "x");
    job_log_memory_report(&silent);

    std::string text;
    const job_log log = string_log(&text);
    job_log_memory_report(&log);  // no report function: nothing
    const std::string name(5000, 'n');
    log_job_document(&log, name.c_str(), false);
    EXPECT_EQ(text.size(), (size_t)job_log_record_size - 1 + std::string("portrait: 0\n").size());
    EXPECT_EQ(text.substr(0, 16), "di.lpszDocName: ");
}

}  // namespace
