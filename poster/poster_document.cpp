// The poster document's rules: installing a picture, Uncrop, typed sizes,
// page toggles, cropping and the layout.
#include "poster/poster_document.h"

#include "poster/defaults.h"
#include "poster/layout.h"
#include "poster/number_text.h"
#include "poster/poster_size.h"
#include "poster/sheet_grid.h"
#include "raster/resize.h"

namespace {

int index_of(int side)
{
    return side == POSTER_WIDTH ? 0 : 1;
}

// The crop scaled to the picture rectangle by nearest neighbour, or null when
// the rectangle is empty or memory is short.
owned_image make_preview_image(const raster_image* picture, const int_rect& crop, const int_rect& picture_rect)
{
    const int32_t width = picture_rect.right - picture_rect.left;
    const int32_t height = picture_rect.bottom - picture_rect.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    owned_image image(image_create(PIXEL_BGR24, width, height));
    if (!image)
        return nullptr;
    raster_image view;
    image_view(&view, crop.top, crop.left, picture, crop.right - crop.left, crop.bottom - crop.top);
    if (!image_resize(nullptr, &view, image.get(), RESIZE_NEAREST))
        return nullptr;
    return image;
}

}  // namespace

double shown_number(int32_t length, int32_t unit_smm)
{
    double number = 0;
    parse_number_text(format_number_text(static_cast<double>(length) / unit_smm, '.'), &number);
    return number;
}

bool crop_from_band(const int_rect& band, const int_rect& picture_rect, const int_rect& crop, int_rect* out)
{
    const int32_t pic_w = picture_rect.right - picture_rect.left;
    const int32_t pic_h = picture_rect.bottom - picture_rect.top;
    if (pic_w <= 0 || pic_h <= 0)
        return false;
    const int32_t cw = crop.right - crop.left;
    const int32_t ch = crop.bottom - crop.top;
    const int_rect mapped = {
        mul_div64(cw, band.left - picture_rect.left, pic_w) + crop.left,
        mul_div64(ch, band.top - picture_rect.top, pic_h) + crop.top,
        mul_div64(cw, band.right - picture_rect.left, pic_w) + crop.left,
        mul_div64(ch, band.bottom - picture_rect.top, pic_h) + crop.top,
    };
    if (mapped.right <= mapped.left || mapped.bottom <= mapped.top)
        return false;
    *out = mapped;
    return true;
}

int_size poster_document::crop_size() const
{
    return {g_image_crop_.right - g_image_crop_.left, g_image_crop_.bottom - g_image_crop_.top};
}

std::optional<double> poster_document::entry(int side) const
{
    return entries_[index_of(side)];
}

void poster_document::init_defaults(bool metric, const smm_rect& margins)
{
    g_metric_ = metric;
    crop_mode_ = 0;
    panel_ready_ = true;
    g_poster_ = default_poster(metric);
    show_poster_size(POSTER_BOTH);
    g_paper_margin_ = margins;
}

void poster_document::set_measured_page(smm_size tile, const smm_rect& unprintable)
{
    g_page_ = tile;
    raise_margins_to_unprintable(g_paper_margin_, unprintable);
}

void poster_document::set_a4_page()
{
    g_page_ = a4_fallback_page(g_paper_margin_);
    paper_name_ = "A4";
}

bool poster_document::set_page_setup(const smm_rect& margins, smm_size tile)
{
    if (check_sheet_grid(g_poster_, tile, craft_.overlap) != layout_refusal::none)
        return false;
    g_paper_margin_ = margins;
    g_page_ = tile;
    recompute_layout();
    return true;
}

void poster_document::set_metric(bool metric)
{
    g_metric_ = metric;
    show_poster_size(POSTER_BOTH);
}

bool poster_document::set_craft(const poster_craft& craft)
{
    const poster_craft checked = checked_craft(craft);
    if (g_page_.width > 0 && g_poster_.width > 0 &&
        check_sheet_grid(g_poster_, g_page_, checked.overlap) != layout_refusal::none)
        return false;
    craft_ = checked;
    recompute_layout();
    return true;
}

bool poster_document::size_by_sheets(int32_t across, int32_t down)
{
    if (!g_image_ || !panel_ready_)
        return false;
    const std::optional<smm_size> poster = poster_for_sheets(across, down, g_page_, craft_.overlap, crop_size());
    if (!poster || check_sheet_layout(*poster, g_page_, craft_.overlap, crop_size()) != layout_refusal::none)
        return false;
    g_poster_ = *poster;
    show_poster_size(POSTER_BOTH);
    recompute_layout();
    return true;
}

std::optional<resolution_report> poster_document::resolution() const
{
    if (!g_image_)
        return std::nullopt;
    return poster_resolution(crop_size(), g_poster_, craft_.low_ppi, craft_.very_low_ppi);
}

void poster_document::install_picture(owned_image image)
{
    if (!image)
        return;
    if (image->type != PIXEL_BGR24) {
        owned_image converted(image_create(PIXEL_BGR24, image->width, image->height));
        if (!converted || !image_convert(converted.get(), image.get()))
            return;
        image = std::move(converted);
    }
    reset_crop();
    g_image_ = std::move(image);
    g_image_crop_ = {0, 0, g_image_->width, g_image_->height};
    // The side of the picture's longer edge keeps its length.
    set_poster_from_entry(g_image_->height < g_image_->width ? POSTER_WIDTH : POSTER_HEIGHT);
    recompute_layout();
}

void poster_document::reset_crop()
{
    if (saved_poster_.width > 0) {
        g_poster_ = saved_poster_;
        saved_poster_.width = 0;
    }
    if (g_image_) {
        g_image_crop_ = {0, 0, g_image_->width, g_image_->height};
        recompute_layout();
        show_poster_size(POSTER_BOTH);
    }
    crop_mode_ = 0;
}

bool poster_document::type_poster_side(int side, std::optional<double> number)
{
    entries_[index_of(side)] = number;
    if (!set_poster_from_entry(side))
        return false;
    recompute_layout();
    return true;
}

bool poster_document::toggle_page(int32_t column, int32_t row)
{
    if (column < 0 || row < 0 || column >= pages_.columns || row >= pages_.rows)
        return false;
    set_page_flag(pages_, column, row, page_flag(pages_, column, row) == 0 ? 1 : 0);
    return true;
}

void poster_document::toggle_crop_mode()
{
    if (crop_mode_ == 1) {
        crop_mode_ = 0;
        return;
    }
    if (saved_poster_.width == 0)
        saved_poster_ = g_poster_;
    crop_mode_ = 1;
}

bool poster_document::apply_crop_band(const int_rect& band)
{
    crop_mode_ = 0;
    int_rect crop;
    if (!g_image_ || !crop_from_band(band, preview_.picture_rect, g_image_crop_, &crop))
        return false;
    // The poster keeps the entry of the new crop's longer side (its current
    // length when the entry holds no number). When it cannot follow the new
    // aspect the band is refused, so the picture is never printed out of
    // proportion.
    const int_size size = {crop.right - crop.left, crop.bottom - crop.top};
    const int side = size.width > size.height ? POSTER_WIDTH : POSTER_HEIGHT;
    const std::optional<double> number =
        entries_[index_of(side)]
            ? entries_[index_of(side)]
            : shown_number(side == POSTER_WIDTH ? g_poster_.width : g_poster_.height, unit_smm());
    const std::optional<smm_size> poster = poster_for_entry(side, number, size);
    if (!poster || check_sheet_layout(*poster, g_page_, craft_.overlap, size) != layout_refusal::none)
        return false;
    g_image_crop_ = crop;
    entries_[index_of(side)] = number;
    g_poster_ = *poster;
    show_poster_size(side == POSTER_WIDTH ? POSTER_HEIGHT : POSTER_WIDTH);
    recompute_layout();
    return true;
}

layout_refusal poster_document::recompute_layout()
{
    if (g_image_) {
        poster_layout layout{};
        const layout_refusal refusal =
            recompute_layout_geometry(preview_client_, g_poster_, g_page_, craft_.overlap, crop_size(), pages_, &layout);
        if (refusal != layout_refusal::none)
            return refusal;
        preview_image_.reset();
        npages_ = layout.npages;
        preview_ = layout.preview;
        preview_image_ = make_preview_image(g_image_.get(), g_image_crop_, layout.preview.picture_rect);
    } else {
        preview_image_.reset();
    }
    if (host_) {
        if (std::optional<std::string> name = host_->current_paper_name())
            paper_name_ = std::move(*name);
        host_->layout_changed();
    }
    return layout_refusal::none;
}

std::optional<smm_size> poster_document::poster_for_entry(int side, std::optional<double> number,
                                                          int_size crop) const
{
    if (!panel_ready_ || !number)
        return std::nullopt;
    smm_size poster{};
    if (!poster_from_side(side == POSTER_WIDTH ? poster_side::width : poster_side::height, *number * unit_smm(),
                          crop, &poster))
        return std::nullopt;
    // A poster that would need more pages than a layout can hold is refused
    // like a size out of range.
    if (check_sheet_grid(poster, g_page_, craft_.overlap) == layout_refusal::too_many_pages)
        return std::nullopt;
    return poster;
}

bool poster_document::set_poster_from_entry(int side)
{
    const std::optional<smm_size> poster = poster_for_entry(side, entries_[index_of(side)], crop_size());
    if (!poster)
        return false;
    g_poster_ = *poster;
    show_poster_size(side == POSTER_WIDTH ? POSTER_HEIGHT : POSTER_WIDTH);
    return true;
}

void poster_document::show_poster_size(int mask)
{
    if (mask & POSTER_WIDTH)
        entries_[0] = shown_number(g_poster_.width, unit_smm());
    if (mask & POSTER_HEIGHT)
        entries_[1] = shown_number(g_poster_.height, unit_smm());
    if (host_)
        host_->poster_size_changed(mask);
}
