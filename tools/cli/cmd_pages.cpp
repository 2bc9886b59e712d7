// tilora-cli pages: the print job's page loop without a printer. Every
// selected page is rendered as the sheet the printer would receive and
// handed to the sheet sinks (PNG files, a PDF document), one page at a time.
#include "poster/job_log.h"
#include "poster/page_flags.h"
#include "poster/page_walk.h"
#include "poster/print_job.h"
#include "raster/owned_image.h"
#include "tools/cli/commands.h"
#include "tools/cli/craft_options.h"
#include "tools/cli/lengths.h"
#include "tools/cli/page_render.h"
#include "tools/cli/pdf_sheets.h"
#include "tools/cli/picture_args.h"
#include "tools/cli/picture_input.h"
#include "tools/cli/plan_output.h"
#include "tools/cli/png_output.h"
#include "tools/cli/sheet_sink.h"
#include "tools/cli/printer_options.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char pages_help_head[] =
    "usage: tilora-cli pages FILE (--width LEN | --height LEN | both) (--out DIR | --pdf FILE) [OPTIONS]\n"
    "\n"
    "Renders every selected page of a poster as the sheet the printer receives:\n"
    "white paper of the sheet's full size in device pixels, with the page's part\n"
    "of the picture resampled by the print filter to exactly its device\n"
    "rectangle, placed where the printer puts it. Writes DIR/page-C-R.png per\n"
    "page (C column, R row), in printing order, one page in memory at a time,\n"
    "after DIR/assembly.png with --assembly-sheet, and prints the plan lines of\n"
    "'tilora-cli plan' as it goes.\n"
    "\n"
    "poster:\n"
    "  FILE                 the picture\n"
    "  --width LEN          poster width, e.g. 90cm, 35in, 640mm; alone, the\n"
    "  --height LEN         height follows the crop's aspect (and the reverse);\n"
    "                       or --sheets-wide / --sheets-high below\n"
    "  --crop L,T,R,B       the used part of the picture, in pixels (default:\n"
    "                       the whole picture)\n"
    "  --skip C,R           leave out the page in column C, row R (counted from\n"
    "                       0); may be given more than once\n"
    "  --marks              draw the dashed corner marks at the part's edges\n"
    "                       (1 pixel, grey 200, dashes of 50 and gaps of 30\n"
    "                       device pixels)\n"
    "  --out DIR            where the pages go (created when missing)\n"
    "  --pdf FILE           the pages as one PDF document instead (or as well):\n"
    "                       a page of the paper's exact size per sheet, to be\n"
    "                       printed at 100 % (\"actual size\")\n"
    "  --jpeg-quality Q     store the PDF's pictures as JPEG of quality 1-100\n"
    "                       (default: lossless)\n"
    "  --log                write the print job's log records to standard error\n"
    "  --any-extension      skip the file-name extension test\n"
    "\n";
const char pages_help_tail[] =
    "  With --tile, the sheet is the device tile itself.\n"
    "\n"
    "exit status: 0 done, 1 layout refused, picture unreadable or a page not\n"
    "written, 2 bad usage\n";

struct pages_options {
    std::optional<double> width;   // smm
    std::optional<double> height;  // smm
    std::optional<int_rect> crop;
    std::vector<grid_position> skipped;
    bool marks = false;
    bool log = false;
    const char* out = nullptr;
    const char* pdf = nullptr;
    int jpeg_quality = 0;  // 0: lossless
    printer_options printer;
    craft_options craft;
};

bool parse_jpeg_quality(const char* text, int32_t* quality)
{
    return parse_whole_numbers(text, quality, 1) && *quality >= 1 && *quality <= 100;
}

bool parse_skip(const char* text, grid_position* page)
{
    int32_t v[2];
    if (!parse_whole_numbers(text, v, 2))
        return false;
    *page = {v[0], v[1]};
    return true;
}

bool parse_crop(const char* text, int_rect* crop)
{
    int_rect rect;
    if (!parse_pixel_rect(text, &rect) || rect.right == rect.left || rect.bottom == rect.top)
        return false;
    *crop = rect;
    return true;
}

bool take_pages_option(arg_cursor& args, pages_options& options)
{
    if (take_flag(args, "--marks"))
        return options.marks = true;
    if (take_flag(args, "--log"))
        return options.log = true;
    grid_position skip;
    const char* out = nullptr;
    if (take_parsed(args, "--skip", parse_skip, &skip)) {
        options.skipped.push_back(skip);
        return true;
    }
    if (take_option(args, "--out", &out)) {
        options.out = out;
        return true;
    }
    if (take_option(args, "--pdf", &out)) {
        options.pdf = out;
        return true;
    }
    return take_parsed(args, "--width", parse_length, &options.width) ||
           take_parsed(args, "--height", parse_length, &options.height) ||
           take_parsed(args, "--crop", parse_crop, &options.crop) ||
           take_parsed(args, "--jpeg-quality", parse_jpeg_quality, &options.jpeg_quality) ||
           take_printer_option(args, options.printer) || take_craft_option(args, options.craft);
}

int refused(const char* message)
{
    std::fprintf(stderr, "tilora-cli pages: layout refused: %s\n", message);
    return 1;
}

void write_to_stderr(void*, const char* text)
{
    std::fputs(text, stderr);
}

// The sheets of the job, one in memory at a time: rendered by print_page (or
// blank for the assembly sheet), completed by send_image and handed to the
// sinks by end_page. Every sheet is drawn over the previous one's pixels, so
// that the large image is made once per job and not again for each sheet.
class rendered_sheets : public page_target {
public:
    rendered_sheets(const pages_options& options, const raster_image* picture, const int_rect& crop,
                    const sheet_layout& sheet, const job_log* log, std::vector<sheet_sink*> sinks)
        : options_(options), picture_(picture), crop_(crop), sheet_(sheet), log_(log), sinks_(std::move(sinks))
    {
    }

    bool start_assembly_sheet() override
    {
        name_ = "assembly";
        page_ = take_sheet();
        if (!page_) {
            std::fprintf(stderr, "tilora-cli pages: cannot render the assembly sheet: no memory for the sheet\n");
            return false;
        }
        fill_white(page_.get());
        return true;
    }

    bool print_page(grid_position page, int32_t, const page_rects& rects) override
    {
        print_plan_page(page, rects);
        std::fflush(stdout);
        const char* failure = nullptr;
        name_ = "page-" + std::to_string(page.column) + "-" + std::to_string(page.row);
        owned_image sheet = take_sheet();
        if (!sheet)
            failure = "no memory for the sheet";
        else if (draw_page(sheet.get(), picture_, crop_, rects, sheet_, options_.marks, log_, &failure))
            page_ = std::move(sheet);
        if (!page_) {
            std::fprintf(stderr, "tilora-cli pages: cannot render %s: %s\n", name_.c_str(), failure);
            return false;
        }
        return true;
    }

    bool send_image(const raster_image* image, int_point at) override
    {
        if (page_)
            place_on_sheet(page_.get(), sheet_, image, at);
        return page_ != nullptr;
    }

    bool end_page(bool printed) override
    {
        owned_image page = std::move(page_);
        if (!printed || !page)
            return false;
        for (sheet_sink* sink : sinks_)
            if (!sink->take_sheet(name_.c_str(), page.get(), sheet_))
                return false;
        spare_ = std::move(page);
        return true;
    }

private:
    // The previous sheet's image when there is one, else a new one.
    owned_image take_sheet()
    {
        if (spare_)
            return std::move(spare_);
        return owned_image(image_create(PIXEL_BGR24, sheet_.size.width, sheet_.size.height));
    }

    const pages_options& options_;
    const raster_image* picture_;
    int_rect crop_;
    sheet_layout sheet_;
    const job_log* log_;
    std::vector<sheet_sink*> sinks_;
    owned_image page_;
    owned_image spare_;  // the last sheet handed on, to be drawn over
    std::string name_;
};

}  // namespace

int run_pages(int argc, char** argv)
{
    pages_options options;
    picture_arguments files;
    const std::string help = std::string(pages_help_head) + printer_options_help + pages_help_tail + "\n" +
                             craft_options_help;
    const int status = parse_picture_arguments(argc, argv, "pages", help.c_str(), 1, &files,
                                               [&](arg_cursor& args) { return take_pages_option(args, options); });
    if (status >= 0)
        return status;
    const bool by_sheets = options.craft.sheets_wide > 0 || options.craft.sheets_high > 0;
    if (!options.width && !options.height && !by_sheets)
        return usage_error("pages", "--width or --height is required");
    if ((options.width || options.height) && by_sheets)
        return usage_error("pages", "give the poster's size or its sheets, not both");
    if (!options.out && !options.pdf)
        return usage_error("pages", "--out or --pdf is required");
    if (options.jpeg_quality && !options.pdf)
        return usage_error("pages", "--jpeg-quality goes with --pdf");
    if (const char* conflict = printer_options_conflict(options.printer))
        return usage_error("pages", conflict);

    raster_image* loaded = read_picture(files.files[0], files.check_extension);
    if (!loaded)
        return 1;
    owned_image picture(as_bgr24(loaded));
    if (!picture) {
        std::fprintf(stderr, "tilora-cli pages: no memory for the 24-bit picture\n");
        return 1;
    }
    const int_rect crop = options.crop.value_or(int_rect{0, 0, picture->width, picture->height});
    if (crop.right > picture->width || crop.bottom > picture->height)
        return usage_error("pages", ("--crop must lie inside the " + std::to_string(picture->width) + " x " +
                                     std::to_string(picture->height) + " picture").c_str());

    const int_size img_size = {crop.right - crop.left, crop.bottom - crop.top};
    poster_plan plan;
    if (const char* refusal =
            make_poster_plan(options.printer, options.width, options.height, options.craft, img_size, &plan))
        return refused(refusal);
    page_flags flags;
    reset_page_flags(flags, plan.npages.width, plan.npages.height);
    for (const grid_position& skip : options.skipped) {
        if (skip.column >= plan.npages.width || skip.row >= plan.npages.height)
            return usage_error("pages", ("--skip " + std::to_string(skip.column) + "," + std::to_string(skip.row) +
                                         " lies outside the " + std::to_string(plan.npages.width) + " x " +
                                         std::to_string(plan.npages.height) + " page grid")
                                            .c_str());
        set_page_flag(flags, skip.column, skip.row, 0);
    }
    if (options.out) {
        std::error_code error;
        std::filesystem::create_directories(options.out, error);
        if (!std::filesystem::is_directory(options.out))
            return report_write_failure(options.out, error ? error.message() : "not a folder");
    }

    const device_caps caps = printer_device_caps(options.printer);
    job_log log;
    if (options.log)
        log.write = write_to_stderr;
    // Lengths are smm whatever unit they were given in; the metric flag says
    // how the assembly sheet shows them.
    const std::string paper_name =
        !options.craft.paper_name.empty() ? options.craft.paper_name : paper_name_of(options.printer.paper);
    const poster_job job = {{picture->width, picture->height}, crop, plan.area.print_size, options.printer.margins,
                            plan.poster, !options.craft.inches, caps, printer_offsets_swapped(options.printer),
                            plan.area, "Tilora", !options.printer.landscape, plan.npages, &flags, plan.craft,
                            picture.get(), paper_name.c_str()};
    job_log_printf(&log, "print begin\n");
    log_job_opening(&log, job);
    print_plan_head(plan);
    const sheet_layout layout = sheet_of(caps);
    std::vector<sheet_sink*> sinks;
    std::optional<png_sheet_files> png_files;
    if (options.out)
        sinks.push_back(&png_files.emplace(options.out));
    std::optional<pdf_sheets> pdf;
    if (options.pdf && !pdf.emplace(options.pdf, layout, options.jpeg_quality).ok())
        return 1;
    if (pdf)
        sinks.push_back(&*pdf);
    rendered_sheets sheets(options, picture.get(), crop, layout, &log, sinks);
    bool done = walk_pages(job, sheets, &log);
    for (sheet_sink* sink : sinks)
        done = sink->finish() && done;
    job_log_printf(&log, "print end\n");
    return done ? 0 : 1;
}
