// The poster model: the working picture, its crop, the poster size, the
// margins, the printable tile, the printer and the page grid with its
// preview. One record for the process; every change ends in
// recompute_layout.
#pragma once
#include <windows.h>

#include "poster/geometry.h"
#include "poster/page_flags.h"
#include "raster/raster_image.h"

struct poster_model {
    raster_image* g_image = nullptr;    // always PIXEL_BGR24
    int_rect g_image_crop = {};         // picture pixels
    smm_size g_poster = {};             // printed size of the crop
    smm_rect g_paper_margin = {};       // user's margins from the paper edges
    smm_size g_page = {};               // printable tile of one sheet
    bool g_metric = true;               // centimetres, else inches
    HGLOBAL printer_devmode = nullptr;
    HGLOBAL printer_devnames = nullptr;
    page_flags pages;                   // which pages of the grid are printed
    char paper_name[64] = {};
    int_size npages = {};
    preview_geometry preview = {};      // cell, grid origin, picture rectangle
    raster_image* preview_image = nullptr;
    int32_t crop_mode = 0;
    smm_size saved_poster = {};         // poster size when crop mode began; width 0: none
};

extern poster_model g_model;

// Start-up values: unit and margins from the settings, the default poster of
// the unit, the poster-size panel (a child of main_window), and the tile of
// the default printer or of an A4 sheet when there is none.
void init_poster_defaults(HWND main_window);

// Makes image (any pixel type) the working picture, taking ownership. The
// poster keeps the side of the picture's longer edge and the other follows.
void install_picture(raster_image* image);

// Uncrop: the whole picture again, and the poster size saved when crop mode
// began.
void reset_crop();

// Recomputes the grid, the preview geometry and picture and the paper name,
// and repaints the preview. A layout that cannot be made (no tile, no crop,
// too many pages) leaves everything as it was.
void recompute_layout();

// Frees the pictures and printer handles at shut-down.
void free_poster_model();

// The crop's size in picture pixels.
int_size crop_size();
