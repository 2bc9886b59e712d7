// The general TWAIN client. Every request goes through Call, which keeps the
// return code and, after a failure, the condition code of the destination.
#include "scan/twain_client.h"

namespace {

// A movable global memory block, freed when it goes.
struct global_block {
    HGLOBAL handle;
    explicit global_block(HGLOBAL h) : handle(h) {}
    global_block(const global_block&) = delete;
    global_block& operator=(const global_block&) = delete;
    ~global_block()
    {
        if (handle)
            GlobalFree(handle);
    }
};

// A temporary file, deleted when it goes unless deleted before.
struct temporary_file {
    char path[MAX_PATH] = {};
    temporary_file(const temporary_file&) = delete;
    temporary_file& operator=(const temporary_file&) = delete;
    temporary_file() = default;
    ~temporary_file() { remove(); }
    void remove()
    {
        if (path[0])
            DeleteFileA(path);
        path[0] = '\0';
    }
};

// A new, empty, uniquely named "ts" file in the temporary folder.
bool create_temporary_file(temporary_file& file)
{
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return false;
    if (!GetTempFileNameA(folder, "ts", 0, file.path)) {
        file.path[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

CTwain::CTwain() = default;

CTwain::~CTwain()
{
    CloseManager();
    if (library_)
        FreeLibrary(library_);
    library_ = nullptr;
    entry_ = nullptr;
}

void fill_app_identity(TW_IDENTITY& identity, const app_identity_names& names)
{
    identity.Id = 0;
    identity.Version.MajorNum = names.major;
    identity.Version.MinorNum = names.minor;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    copy_twain_string(identity.Version.Info, names.version_info);
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 8;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copy_twain_string(identity.Manufacturer, names.manufacturer);
    copy_twain_string(identity.ProductFamily, names.product_family);
    copy_twain_string(identity.ProductName, names.product_name);
}

void CTwain::GetIdentity()
{
    fill_app_identity(app_identity_, {3, 5, "3.5", "QORVA", "Generic", "Twain Test"});
}

bool CTwain::LoadManager()
{
    library_ = LoadLibraryA("TWAIN_32.DLL");
    if (library_) {
        entry_ = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library_, MAKEINTRESOURCEA(1))));
    }
#ifdef _WIN64
    else {
        // The classic manager is a 32-bit library; a 64-bit process has the
        // manager of protocol 2, which exports its entry point by name.
        library_ = LoadLibraryA("TWAINDSM.DLL");
        if (library_)
            entry_ = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library_, "DSM_Entry")));
    }
#endif
    if (library_ && !entry_) {
        FreeLibrary(library_);
        library_ = nullptr;
    }
    return entry_ != nullptr;
}

bool CTwain::OpenManager(HWND parent)
{
    if (library_ && entry_)
        return true;
    app_identity_ = {};
    if (!IsWindow(parent))
        return false;
    parent_ = parent;
    if (!LoadManager())
        return false;
    GetIdentity();
    manager_open_ = Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent_);
    return true;
}

void CTwain::CloseManager()
{
    if (!ManagerOpen())
        return;
    CloseSource();
    Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent_);
    manager_open_ = false;
}

bool CTwain::Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 data_type, TW_UINT16 message, TW_MEMREF data)
{
    if (!entry_) {
        return_code_ = TWRC_FAILURE;
        return false;
    }
    return_code_ = entry_(&app_identity_, destination, group, data_type, message, data);
    if (return_code_ != TWRC_SUCCESS) {
        status_ = {};
        entry_(&app_identity_, destination, DG_CONTROL, DAT_STATUS, MSG_GET, &status_);
    }
    return return_code_ == TWRC_SUCCESS;
}

bool CTwain::RequestDefaultSource()
{
    return Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &source_identity_);
}

bool CTwain::SelectSource()
{
    source_identity_ = {};
    if (!source_chosen_)
        source_chosen_ = RequestDefaultSource();
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &source_identity_))
        source_chosen_ = true;
    return source_chosen_;
}

bool CTwain::OpenSource(const TW_IDENTITY* source)
{
    if (source)
        source_identity_ = *source;
    if (ManagerOpen()) {
        if (!source_chosen_)
            source_chosen_ = RequestDefaultSource();
        source_open_ = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_identity_);
    }
    return SourceOpen();
}

int CTwain::ShouldTransfer(const TW_IMAGEINFO&)
{
    return TRANSFER_IMAGE;
}

bool CTwain::CanClose()
{
    return true;
}

bool CTwain::SetCapabilityOneValue(TW_UINT16 capability, TW_UINT16 item_type, TW_UINT32 value)
{
    global_block block(GlobalAlloc(GHND, sizeof(TW_ONEVALUE)));
    auto* one = block.handle ? static_cast<TW_ONEVALUE*>(GlobalLock(block.handle)) : nullptr;
    if (!one) {
        return_code_ = TWRC_FAILURE;
        return false;
    }
    one->ItemType = item_type;
    one->Item = value;
    GlobalUnlock(block.handle);
    TW_CAPABILITY request{capability, TWON_ONEVALUE, block.handle};
    return Call(&source_identity_, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &request);
}

bool CTwain::ReadCapabilityOneValue(TW_UINT16 capability, TW_UINT32& value)
{
    TW_CAPABILITY request{capability, TWON_DONTCARE16, nullptr};
    if (!Call(&source_identity_, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &request) || !request.hContainer)
        return false;
    global_block block(request.hContainer);
    // Only a single value is read; a block too small for one is refused.
    if (request.ConType != TWON_ONEVALUE || GlobalSize(block.handle) < sizeof(TW_ONEVALUE))
        return false;
    const auto* one = static_cast<const TW_ONEVALUE*>(GlobalLock(block.handle));
    if (!one)
        return false;
    value = one->Item;
    GlobalUnlock(block.handle);
    return true;
}

bool CTwain::SetTransferCount(TW_INT32 count)
{
    if (SetCapabilityOneValue(CAP_XFERCOUNT, TWTY_INT16, static_cast<TW_UINT32>(count))) {
        transfer_count_ = count;
        return true;
    }
    // The source cannot take the count: it is asked for its own, which is
    // set back as it is.
    TW_UINT32 current = 0;
    if (return_code_ == TWRC_CHECKSTATUS && ReadCapabilityOneValue(CAP_XFERCOUNT, current) &&
        SetCapabilityOneValue(CAP_XFERCOUNT, TWTY_UINT16, current)) {
        transfer_count_ = static_cast<TW_INT32>(current);
        return true;
    }
    return false;
}

bool CTwain::EnableSource()
{
    if (!SourceOpen() || source_enabled_)
        return false;
    TW_USERINTERFACE ui{};
    ui.ShowUI = TRUE;
    ui.hParent = parent_;
    source_enabled_ = Call(&source_identity_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    modal_ui_ = source_enabled_ ? ui.ModalUI == 1 : true;
    return source_enabled_;
}

void CTwain::DisableSource()
{
    if (!SourceEnabled())
        return;
    TW_USERINTERFACE ui{};
    Call(&source_identity_, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    source_enabled_ = false;
}

void CTwain::CloseSource()
{
    if (!SourceOpen())
        return;
    DisableSource();
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_identity_);
    source_open_ = false;
}

bool CTwain::Acquire(int count)
{
    if (!SourceOpen() && !OpenSource())
        return false;
    return SetTransferCount(count) && EnableSource();
}

bool CTwain::ProcessMessage(MSG& message)
{
    if (!SourceEnabled())
        return false;
    // Straight to the manager: an ordinary message is no failure to record.
    TW_EVENT event{&message, MSG_NULL};
    const TW_UINT16 result =
        entry_(&app_identity_, &source_identity_, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        TransferImages();
        break;
    case MSG_CLOSEDSREQ:
        if (CanClose())
            CloseSource();
        break;
    }
    return result == TWRC_DSEVENT;
}

bool CTwain::EndTransfer()
{
    TW_PENDINGXFERS pending{};
    return Call(&source_identity_, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) && pending.Count != 0;
}

void CTwain::CancelTransfers()
{
    TW_PENDINGXFERS pending{};
    Call(&source_identity_, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

void CTwain::TransferImages()
{
    for (int images = 0;; ++images) {
        // A source that went away, one that keeps offering images and one
        // that cannot describe its image all end the loop; whatever is
        // still pending is cancelled rather than asked for again.
        if (!SourceEnabled()) {
            if (SourceOpen())
                CancelTransfers();
            return;
        }
        TW_IMAGEINFO info{};
        if (images == max_images_per_event ||
            !Call(&source_identity_, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info)) {
            CancelTransfers();
            return;
        }
        switch (ShouldTransfer(info)) {
        case TRANSFER_IMAGE:
            if (!TransferFile(info))
                return;
            break;
        case SKIP_IMAGE:
            if (!EndTransfer())
                return;
            break;
        default:
            CancelTransfers();
            return;
        }
    }
}

bool CTwain::TransferFile(const TW_IMAGEINFO& info)
{
    temporary_file file;
    if (!create_temporary_file(file)) {
        CancelTransfers();
        return false;
    }
    TW_SETUPFILEXFER setup{};
    copy_twain_string(setup.FileName, file.path);
    setup.Format = TWFF_BMP;
    Call(&source_identity_, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
    Call(&source_identity_, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    const TW_UINT16 result = return_code_;
    if (result == TWRC_FAILURE) {
        CancelTransfers();
        return false;
    }
    if (result == TWRC_XFERDONE)
        OnImageFile(file.path, info);
    file.remove();
    return EndTransfer();
}
