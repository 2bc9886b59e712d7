#include "scan/my_twain.h"

#include <new>

#include "loader/load_picture.h"

void CMyTwain::GetIdentity()
{
    app_identity_.Id = 0;
    app_identity_.Version.MajorNum = 2;
    app_identity_.Version.MinorNum = 0;
    app_identity_.Version.Language = TWLG_USA;
    app_identity_.Version.Country = TWCY_USA;
    copy_twain_string(app_identity_.Version.Info, "2.0");
    app_identity_.ProtocolMajor = 1;
    app_identity_.ProtocolMinor = 8;
    app_identity_.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copy_twain_string(app_identity_.Manufacturer, "Quenbrook");
    copy_twain_string(app_identity_.ProductFamily, "Tilora");
    copy_twain_string(app_identity_.ProductName, "Tilora");
}

int CMyTwain::ShouldTransfer(const TW_IMAGEINFO&)
{
    return acquire_requested_ ? TRANSFER_IMAGE : SKIP_IMAGE;
}

void CMyTwain::OnImageFile(const char* path, const TW_IMAGEINFO&)
{
    try {
        if (owned_image picture{load_picture(path, false)})
            install_(std::move(picture));
    } catch (const std::bad_alloc&) {
        // Too large to hold: dropped like any file that cannot be read.
    }
}
