// The per-thread state of the image library: last error, call depth, abort
// callback and the reader options and side results of the last reads. All
// that a read depends on lives here, so reads on different threads do not
// interfere.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imageio/imageio.h"

// One tag chunk of the last TLA read, kept whole.
struct CFileDataTag {
    std::vector<uint8_t> data;
};

template <class T>
using ISPtrVector = std::vector<std::unique_ptr<T>>;

struct is_jpeg_marker {
    int32_t code;
    std::vector<uint8_t> bytes;
};

struct is_jpeg_options {
    int32_t option = 0;
    int32_t scale_num = 1;
    int32_t scale_denom = 1;
    std::vector<std::string> comments;      // COM markers of the last JPEG read
    std::vector<is_jpeg_marker> markers;    // other saved markers of the last JPEG read
};

struct is_png_color {
    uint8_t index;
    uint16_t red;
    uint16_t green;
    uint16_t blue;
    uint16_t gray;
};

struct is_png_text {
    std::string key;
    std::string text;
};

struct is_png_options {
    double display_gamma = 2.9;
    is_png_color default_background{};     // compositing colour when a file has no bKGD
    bool has_file_background = false;
    is_png_color file_background{};        // bKGD of the last PNG read
    std::vector<is_png_text> texts;         // text entries of the last PNG read
};

// What a generic read of a metafile passes on to the renderer.
struct is_metafile_defaults {
    uint32_t background = 0;
    int32_t width = 100;
    int32_t height = 100;
};

constexpr int is_saved_callback_block_size = 16;

struct ISThreadState {
    is_abort_fn abort_callback = nullptr;
    int32_t call_depth = 0;
    void* callback_user = nullptr;
    uint8_t saved_callback_block[is_saved_callback_block_size] = {};
    is_jpeg_options jpeg;
    is_png_options png;
    ISPtrVector<CFileDataTag> tags;
    is_metafile_defaults metafile;
    int32_t last_error = 0;
    int32_t error_hold_depth = 0;
    uint64_t refused_buffer_bytes = 0;  // a buffer the last read refused for passing the limit
};

// The calling thread's state, created on first use; null when none can be had.
ISThreadState* is_thread_state();

// Sets the last error unless an error hold is in force.
void is_set_error(ISThreadState* state, int32_t code);

// Number of thread states created so far (diagnostics and tests).
uint32_t is_thread_state_count();

// Tears the registry down: frees the slot and every state. Runs by itself at
// process exit; callable earlier by a program that wants it done sooner.
void is_thread_registry_shutdown();
