// The program's scanner: the TWAIN client with Tilora's identity, taking
// images only once the user asked for a scan, and handing each scanned
// picture to the program.
#pragma once
#include "raster/raster_image.h"
#include "scan/twain_client.h"

class CMyTwain : public CTwain {
public:
    // Receives each scanned picture and takes ownership of it.
    using picture_sink = void (*)(raster_image* picture);

    explicit CMyTwain(picture_sink install) : install_(install) {}

    void GetIdentity() override;
    int ShouldTransfer(const TW_IMAGEINFO& info) override;
    // Reads the file by its content (a temporary file's extension says
    // nothing) and installs the picture; an unreadable file is dropped.
    void OnImageFile(const char* path, const TW_IMAGEINFO& info) override;

    void RequestAcquire() { acquire_requested_ = true; }

private:
    picture_sink install_;
    bool acquire_requested_ = false;
};
