// The poster document: what will be printed and how it is cut into pages.
// It owns the working picture and its crop, the poster size, the margins and
// the printable tile, the page grid with the pages switched off, and the
// preview's geometry and picture. Windows read it and ask it to change; the
// document tells its host when a window must show something anew. Every
// change ends in recompute_layout, which refuses, changing nothing, a layout
// the geometry cannot make.
#pragma once
#include <optional>
#include <string>

#include "poster/geometry.h"
#include "poster/page_flags.h"
#include "poster/poster_craft.h"
#include "raster/owned_image.h"

// The sides of the poster, as a mask.
enum : int {
    POSTER_WIDTH = 1,
    POSTER_HEIGHT = 2,
    POSTER_BOTH = 3,
};

// What the document asks of the program that shows it.
class poster_document_host {
public:
    virtual ~poster_document_host() = default;
    // The printer's name for its current paper; nullopt keeps the name the
    // document has (no printer, or its papers cannot be listed).
    virtual std::optional<std::string> current_paper_name() { return std::nullopt; }
    // The program changed the sides in mask: the panel shows them anew.
    virtual void poster_size_changed(int /*mask*/) {}
    // The grid, the preview picture or the paper name changed: repaint.
    virtual void layout_changed() {}
};

class poster_document {
public:
    explicit poster_document(poster_document_host* host = nullptr) : host_(host) {}
    poster_document(const poster_document&) = delete;
    poster_document& operator=(const poster_document&) = delete;

    // The model, read by the windows and the print job.
    const raster_image* g_image() const { return g_image_.get(); }
    const int_rect& g_image_crop() const { return g_image_crop_; }
    smm_size g_poster() const { return g_poster_; }
    const smm_rect& g_paper_margin() const { return g_paper_margin_; }
    smm_size g_page() const { return g_page_; }
    bool g_metric() const { return g_metric_; }
    const page_flags& pages() const { return pages_; }
    const std::string& paper_name() const { return paper_name_; }
    int_size npages() const { return npages_; }
    const preview_geometry& preview() const { return preview_; }
    const raster_image* preview_image() const { return preview_image_.get(); }
    int32_t crop_mode() const { return crop_mode_; }
    smm_size saved_poster() const { return saved_poster_; }
    // Seamless sheets, the glue band, labels, marks, the assembly sheet and
    // the resolution meter.
    const poster_craft& craft() const { return craft_; }
    // The picture's effective resolution on the poster; nullopt without a
    // picture.
    std::optional<resolution_report> resolution() const;
    // The crop's size in picture pixels.
    int_size crop_size() const;
    // smm in one unit of display: a centimetre or an inch.
    int32_t unit_smm() const { return g_metric_ ? smm_per_cm : smm_per_inch; }
    // The number a poster-size entry holds, in the display unit; nullopt when
    // its text is no number.
    std::optional<double> entry(int side) const;

    // Start-up: the unit and margins from the settings, the unit's default
    // poster, and the entries showing it. Typed sizes count from now on.
    void init_defaults(bool metric, const smm_rect& margins);
    // The tile measured on the printer with the current margins; each margin
    // narrower than the printer's unprintable strip is raised to it.
    void set_measured_page(smm_size tile, const smm_rect& unprintable);
    // No printer to measure: an A4 sheet less the current margins, and the
    // paper's name "A4".
    void set_a4_page();
    // New margins and the tile they leave, from page setup. Refused,
    // changing nothing, when no layout can be made on that tile.
    bool set_page_setup(const smm_rect& margins, smm_size tile);
    // The display unit; both entries show the poster anew in it.
    void set_metric(bool metric);
    // New craft settings, brought into range; the layout follows a new band.
    // Refused, changing nothing, when the band leaves no layout.
    bool set_craft(const poster_craft& craft);
    // Sizing by sheets: the largest poster of the crop's aspect on `across`
    // sheets across and `down` down (0: free), both entries showing it. False,
    // changing nothing, when no such poster can be laid out.
    bool size_by_sheets(int32_t across, int32_t down);

    // Makes image (any pixel type) the working picture, taking ownership:
    // Uncrop, the whole new picture, the poster keeping the entry of the
    // picture's longer side with the other side following. A picture that
    // cannot be converted to 24 bits changes nothing.
    void install_picture(owned_image image);
    // Uncrop: the whole picture again and the poster size from before the
    // first crop; crop mode ends.
    void reset_crop();

    // The user typed number (nullopt: no number) into the entry of side
    // (POSTER_WIDTH or POSTER_HEIGHT). The poster takes it, the other side
    // following the crop's aspect, unless the size is out of range or needs
    // too many pages. True, with the layout recomputed, when it changed.
    bool type_poster_side(int side, std::optional<double> number);

    // Switches the page in column, row on or off; false outside the grid.
    bool toggle_page(int32_t column, int32_t row);

    // The Crop command: crop mode on (saving the poster size the first time)
    // or, when on, off without any change.
    void toggle_crop_mode();
    // The end of a crop drag: the band (preview pixels) becomes the crop and
    // crop mode ends. A band without area, or one whose crop the poster
    // cannot follow, leaves the crop as it was. True when the crop changed.
    bool apply_crop_band(const int_rect& band);

    // The preview's client size, as the window reports it.
    void set_preview_client(int_size client) { preview_client_ = client; }
    // Recomputes the grid, the page selection when the grid changes size, the
    // preview geometry and picture and the paper name, and tells the host to
    // repaint. A layout that cannot be made leaves everything as it was.
    layout_refusal recompute_layout();

private:
    // The poster whose side takes number (display unit) with the other side
    // following crop's aspect; nullopt when out of range or too many pages.
    std::optional<smm_size> poster_for_entry(int side, std::optional<double> number, int_size crop) const;
    bool set_poster_from_entry(int side);
    void show_poster_size(int mask);

    poster_document_host* host_;
    owned_image g_image_;                     // always PIXEL_BGR24
    int_rect g_image_crop_ = {};              // picture pixels
    smm_size g_poster_ = {};                  // printed size of the crop
    smm_rect g_paper_margin_ = {};            // user's margins from the paper edges
    smm_size g_page_ = {};                    // printable tile of one sheet
    bool g_metric_ = true;                    // centimetres, else inches
    page_flags pages_;                        // which pages of the grid are printed
    std::string paper_name_;
    int_size npages_ = {};
    preview_geometry preview_ = {};           // cell, grid origin, picture rectangle
    owned_image preview_image_;
    int32_t crop_mode_ = 0;
    smm_size saved_poster_ = {};              // poster size when crop mode began; width 0: none
    int_size preview_client_ = {};
    bool panel_ready_ = false;                // typed sizes count only after start-up
    std::optional<double> entries_[2];        // what the width and height entries hold
    poster_craft craft_;
};

// The crop a band drawn over the preview's picture gives: the band mapped
// from the picture rectangle onto the current crop, in 32-bit integers
// truncating toward zero. Refuses (false) a picture rectangle or a result
// without area.
bool crop_from_band(const int_rect& band, const int_rect& picture_rect, const int_rect& crop, int_rect* out);

// The number an entry shows for a length: smm in the unit, with two decimals.
double shown_number(int32_t length, int32_t unit_smm);
