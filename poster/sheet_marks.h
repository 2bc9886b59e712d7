// What a sheet carries besides its part of the picture: its name and where
// its neighbours go, as small grey labels, and trim marks at its inner edges,
// all in the paper around the picture, never over it. Names run like a
// spreadsheet's: the column as letters (A .. Z, AA, AB ...), the row as a
// number from 1, so "B3" is the second column, third row.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "poster/geometry.h"
#include "raster/owned_image.h"

constexpr int32_t label_text_smm = 300;        // the labels' line height, 3 mm
constexpr int32_t sheet_mark_gap_smm = 100;    // paper left free around the picture, 1 mm
constexpr int32_t trim_mark_length_smm = 500;  // 5 mm
constexpr int32_t trim_mark_width_smm = 20;    // 0.2 mm
constexpr uint32_t label_ink = 0x707070;       // neutral grey
constexpr uint32_t trim_mark_ink = 0x505050;

// "A1", "Z9", "AA10": column and row counted from 0.
std::string sheet_name(int32_t column, int32_t row);

enum class sheet_side : int32_t { top, bottom, left, right };

// One sheet as its marks see it, in device pixels from the device origin.
struct sheet_context {
    int_rect part;         // the picture part (device_rect)
    int_size printable;    // the printable area, HORZRES x VERTRES
    int32_t column;
    int32_t row;
    int_size npages;
    int_size band_du;      // the glue band in device pixels; 0 without one
    int32_t dpi_x;
    int32_t dpi_y;
};

// The trim marks: short bars in the paper beyond the part's inner edges,
// each on the line where the sheet is cut or, on an edge that carries a glue
// band and goes under its neighbour, where the neighbour's cut edge lands;
// clipped to the printable area.
std::vector<int_rect> trim_mark_rects(const sheet_context& sheet);

// A label's text and the side of the picture it belongs to: the name first
// (top side, falling back to bottom, left, right), then one label for each
// inner edge that carries a glue band ("glue under A3" where this sheet goes
// under its neighbour, "C3 glues under" where the neighbour goes under it).
struct label_text {
    std::string text;
    sheet_side side;
    bool is_name;
};
std::vector<label_text> sheet_label_texts(const sheet_context& sheet);

// Where labels of the given sizes (width along the text, height across)
// lie: in the strip of paper beside their side of the part, 1 mm from it,
// within the printable area, as near the middle of the side as the trim
// marks and the labels placed before allow. Left and right labels are
// turned a quarter, so their boxes are height wide. A label with no room is
// left out (nullopt); the name tries its other sides first.
struct label_place {
    int_rect box;
    sheet_side side;
};
std::vector<std::optional<label_place>> place_sheet_labels(const sheet_context& sheet,
                                                        const std::vector<label_text>& labels,
                                                        const std::vector<int_size>& sizes,
                                                        const std::vector<int_rect>& marks);

// A picture to put on the sheet at a device position.
struct placed_picture {
    owned_image image;
    int_point at;
};

// The labels and trim marks asked for, rendered, with their places.
std::vector<placed_picture> sheet_decorations(const sheet_context& sheet, bool labels, bool trim_marks);
