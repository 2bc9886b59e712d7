#include "scan/my_twain.h"

#include <new>

#include "loader/load_picture.h"

void CMyTwain::GetIdentity()
{
    fill_app_identity(app_identity_, {2, 0, "2.0", "Quenbrook", "Tilora", "Tilora"});
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
