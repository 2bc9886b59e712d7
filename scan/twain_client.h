// The general TWAIN client: loads the source manager, lets the user choose a
// source, opens and enables it with its own user interface, filters the
// window messages for its events and receives every image as a BMP file.
#pragma once
#include <windows.h>

#include "scan/twain_protocol.h"

// What ShouldTransfer answers for the image on offer.
enum : int {
    TRANSFER_IMAGE = 0,
    SKIP_IMAGE = 1,
    CANCEL_ALL_IMAGES = 2,
};

class CTwain {
public:
    CTwain();
    CTwain(const CTwain&) = delete;
    CTwain& operator=(const CTwain&) = delete;
    // Closes the source and the manager and unloads the manager.
    virtual ~CTwain();

    // The application identity given to the manager.
    virtual void GetIdentity();
    // The manager's source selection dialog; true while a source is chosen.
    virtual bool SelectSource();
    // Opens the given source, or the chosen (else the default) one.
    virtual bool OpenSource(const TW_IDENTITY* source = nullptr);
    // For the image on offer: TRANSFER_IMAGE, SKIP_IMAGE or CANCEL_ALL_IMAGES.
    virtual int ShouldTransfer(const TW_IMAGEINFO& info);
    virtual void DisableSource();
    // Whether the source may close when it asks to.
    virtual bool CanClose();
    // One image, written by the source into the file at path; the file is
    // deleted after the call.
    virtual void OnImageFile(const char* path, const TW_IMAGEINFO& info) = 0;

    // Loads the source manager and opens it with the parent window. False
    // when the manager cannot be loaded; a manager that refuses to open
    // leaves the object in place with later requests failing.
    bool OpenManager(HWND parent);
    // Opens the source if need be, agrees on count images and enables the
    // source with its user interface.
    bool Acquire(int count);
    // Offers a window message to the enabled source; true when it was the
    // source's event, which the message loop must then not dispatch.
    bool ProcessMessage(MSG& message);
    void CloseSource();

    bool ManagerOpen() const { return library_ && manager_open_; }
    bool SourceOpen() const { return ManagerOpen() && source_open_; }
    bool SourceEnabled() const { return SourceOpen() && source_enabled_; }
    TW_UINT16 LastReturnCode() const { return return_code_; }
    TW_UINT16 ConditionCode() const { return status_.ConditionCode; }
    TW_INT32 TransferCount() const { return transfer_count_; }

    // A source that keeps offering images (a pending count of 0xFFFF, that
    // is "unknown") is cut off after this many in one event.
    static constexpr int max_images_per_event = 256;

protected:
    // The one road of every request: records the return code and, after a
    // failure, the destination's condition code. True only for TWRC_SUCCESS.
    bool Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 data_type, TW_UINT16 message, TW_MEMREF data);
    bool RequestDefaultSource();
    bool SetTransferCount(TW_INT32 count);
    bool EnableSource();
    void CloseManager();
    void TransferImages();
    // One image through a temporary file; false when the loop must end.
    bool TransferFile(const TW_IMAGEINFO& info);
    bool EndTransfer();
    void CancelTransfers();

    TW_IDENTITY app_identity_{};
    TW_IDENTITY source_identity_{};

private:
    bool LoadManager();
    bool SetCapabilityOneValue(TW_UINT16 capability, TW_UINT16 item_type, TW_UINT32 value);
    bool ReadCapabilityOneValue(TW_UINT16 capability, TW_UINT32& value);

    HMODULE library_ = nullptr;
    DSMENTRYPROC entry_ = nullptr;
    TW_STATUS status_{};
    TW_UINT16 return_code_ = TWRC_FAILURE;
    HWND parent_ = nullptr;
    bool source_chosen_ = false;
    bool manager_open_ = false;
    bool source_open_ = false;
    bool source_enabled_ = false;
    bool modal_ui_ = true;
    TW_INT32 transfer_count_ = -1;
};

// Copies text into a fixed TWAIN string, cut and always terminated.
template <size_t N>
void copy_twain_string(char (&field)[N], const char* text)
{
    lstrcpynA(field, text, static_cast<int>(N));
}

// What an application tells the manager about itself: its version, TWAIN
// 1.8, image transfers, and its names.
struct app_identity_names {
    TW_UINT16 major;
    TW_UINT16 minor;
    const char* version_info;
    const char* manufacturer;
    const char* product_family;
    const char* product_name;
};
void fill_app_identity(TW_IDENTITY& identity, const app_identity_names& names);
