// The program's scanner: the TWAIN client with Tilora's identity, taking
// images only once the user asked for a scan, and handing each scanned
// picture to the program.
#pragma once
#include <functional>

#include "raster/owned_image.h"
#include "scan/twain_client.h"

class CMyTwain : public CTwain {
public:
    // Receives each scanned picture.
    using picture_sink = std::function<void(owned_image picture)>;

    explicit CMyTwain(picture_sink install) : install_(std::move(install)) {}

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
