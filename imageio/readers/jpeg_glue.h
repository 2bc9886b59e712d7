// libjpeg fed from a source. Only the JPEG reader's files include this
// header, and none of them includes windows.h.
#pragma once
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "imageio/source.h"

// A decompressor that reads through a source. libjpeg's fatal errors are
// thrown as ISException with code 9 and libjpeg's message; its warnings go
// to the trace hook. The destructor releases everything libjpeg holds, on
// every way out.
class jpeg_decompressor {
public:
    // keep_position: at the end of decompression the source is moved back by
    // the bytes read ahead, so that it stands right after the JPEG data.
    jpeg_decompressor(CISIO& io, bool keep_position);
    ~jpeg_decompressor();
    jpeg_decompressor(const jpeg_decompressor&) = delete;
    jpeg_decompressor& operator=(const jpeg_decompressor&) = delete;

    jpeg_decompress_struct* get() { return &cinfo_; }

    // Keeps the COM marker and APP1 to APP14 whole for the marker list.
    void save_markers();

    struct source_manager {
        jpeg_source_mgr pub;
        CISIO* io;
        bool start_of_file;
        bool inserted_end;
        bool keep_position;
        JOCTET buffer[4096];
    };

private:
    jpeg_decompress_struct cinfo_;
    jpeg_error_mgr error_;
    jpeg_progress_mgr progress_;
    source_manager source_;
};
