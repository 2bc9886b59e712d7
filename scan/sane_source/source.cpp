// The data source's states and requests. Errors go back as condition codes;
// the scan runs on a worker thread so that the application's window never
// waits on the scanner without a way to cancel.
#include "scan/sane_source/source.h"

#include <cstring>
#include <utility>

#include "scan/sane_source/source_window.h"

namespace {

template <size_t N>
void set_text(char (&field)[N], const std::string& text)
{
    lstrcpynA(field, text.c_str(), static_cast<int>(N));
}

// Writes all bytes to the file at a Windows path.
bool write_file(const char* path, const std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size();
    return CloseHandle(file) && complete;
}

TW_FIX32 fix32(int32_t value)
{
    return {static_cast<TW_INT16>(value), 0};
}

}  // namespace

void describe_device(const sane_device_entry& device, TW_IDENTITY& identity)
{
    identity.Version.MajorNum = 1;
    identity.Version.MinorNum = 0;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    set_text(identity.Version.Info, "1.0");
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 9;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    set_text(identity.Manufacturer, device.vendor.empty() ? std::string("SANE") : device.vendor);
    set_text(identity.ProductFamily, device.name);
    const std::string named = device.model + " (" + device.name + ")";
    set_text(identity.ProductName, named.size() < sizeof identity.ProductName ? named : device.name);
}

sane_source::~sane_source()
{
    close();
}

TW_UINT16 sane_source::fail(TW_UINT16 condition)
{
    condition_ = condition;
    return TWRC_FAILURE;
}

TW_UINT16 sane_source::entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 data_type, TW_UINT16 message,
                             TW_MEMREF data)
{
    if (group == DG_CONTROL) {
        switch (data_type) {
        case DAT_IDENTITY:
            return identity(origin, message, static_cast<TW_IDENTITY*>(data));
        case DAT_STATUS:
            if (message != MSG_GET || !data)
                return fail(TWCC_BADPROTOCOL);
            static_cast<TW_STATUS*>(data)->ConditionCode = condition_;
            condition_ = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        case DAT_ENTRYPOINT:
            if (message != MSG_SET || !data)
                return fail(TWCC_BADPROTOCOL);
            manager_entry_ = static_cast<TW_ENTRYPOINT*>(data)->DSM_Entry;
            return TWRC_SUCCESS;
        case DAT_CAPABILITY: {
            if (state_ < opened)
                return fail(TWCC_SEQERROR);
            if (!data)
                return fail(TWCC_BADVALUE);
            const capability_answer answer = negotiate_capability(
                values_, scanner_->choices(), message, *static_cast<TW_CAPABILITY*>(data), state_ == opened);
            condition_ = answer.condition;
            return answer.result;
        }
        case DAT_USERINTERFACE:
            return data ? user_interface(message, static_cast<TW_USERINTERFACE*>(data)) : fail(TWCC_BADVALUE);
        case DAT_EVENT:
            if (message != MSG_PROCESSEVENT || !data)
                return fail(TWCC_BADPROTOCOL);
            return process_event(static_cast<TW_EVENT*>(data));
        case DAT_PENDINGXFERS:
            return data ? pending_transfers(message, static_cast<TW_PENDINGXFERS*>(data)) : fail(TWCC_BADVALUE);
        case DAT_SETUPFILEXFER:
            return data ? setup_file(message, static_cast<TW_SETUPFILEXFER*>(data)) : fail(TWCC_BADVALUE);
        }
    } else if (group == DG_IMAGE && message == MSG_GET) {
        switch (data_type) {
        case DAT_IMAGEINFO:
            return data ? image_info(static_cast<TW_IMAGEINFO*>(data)) : fail(TWCC_BADVALUE);
        case DAT_IMAGEFILEXFER:
            return file_transfer();
        case DAT_IMAGENATIVEXFER:
            return data ? native_transfer(static_cast<TW_HANDLE*>(data)) : fail(TWCC_BADVALUE);
        }
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 sane_source::identity(TW_IDENTITY* origin, TW_UINT16 message, TW_IDENTITY* data)
{
    if (!data)
        return fail(TWCC_BADVALUE);
    switch (message) {
    case MSG_GET:
        if (state_ >= opened) {
            *data = identity_;
            return TWRC_SUCCESS;
        }
        // A manager lists sources by asking until a name comes again: each
        // device in turn, always in the same order.
        if (next_listed_ == 0)
            listed_ = list_sane_devices();
        if (listed_.empty())
            return fail(TWCC_NODS);
        describe_device(listed_[next_listed_++ % listed_.size()], *data);
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        return open(origin, data);
    case MSG_CLOSEDS:
        close();
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 sane_source::open(TW_IDENTITY* origin, TW_IDENTITY* data)
{
    if (state_ != closed)
        return fail(TWCC_MAXCONNECTIONS);
    // The family holds SANE's device name; a name cut to fit, or an
    // identity the application left empty, is looked up among the devices.
    std::string error;
    sane_device_entry device{std::string(data->ProductFamily, strnlen(data->ProductFamily, sizeof data->ProductFamily)),
                             "", ""};
    std::unique_ptr<sane_scanner> scanner;
    if (!device.name.empty())
        scanner = sane_scanner::open(device.name, error);
    if (!scanner) {
        const std::vector<sane_device_entry> devices = list_sane_devices();
        const sane_device_entry* chosen = devices.empty() ? nullptr : &devices[0];
        for (const sane_device_entry& d : devices) {
            TW_IDENTITY named{};
            describe_device(d, named);
            if (std::strcmp(named.ProductName, data->ProductName) == 0)
                chosen = &d;
        }
        if (!chosen)
            return fail(TWCC_NODS);
        device = *chosen;
        scanner = sane_scanner::open(device.name, error);
        if (!scanner)
            return fail(TWCC_OPERATIONERROR);
    }
    if (device.model.empty()) {
        for (const sane_device_entry& d : list_sane_devices())
            if (d.name == device.name)
                device = d;
    }
    scanner_ = std::move(scanner);
    identity_ = {};
    describe_device(device, identity_);
    identity_.Id = data->Id;
    *data = identity_;
    if (origin)
        application_ = *origin;
    values_ = {};
    values_.scan = values_.scan_defaults = scanner_->settings();
    state_ = opened;
    return TWRC_SUCCESS;
}

void sane_source::close()
{
    stop_worker();
    if (window_)
        DestroyWindow(window_);
    window_ = nullptr;
    unregister_source_window(module_);
    scanner_.reset();
    image_ = {};
    scanned_ = {};
    pending_event_ = MSG_NULL;
    state_ = closed;
}

TW_UINT16 sane_source::user_interface(TW_UINT16 message, TW_USERINTERFACE* ui)
{
    switch (message) {
    case MSG_ENABLEDS: {
        if (state_ != opened)
            return fail(TWCC_SEQERROR);
        show_ui_ = ui->ShowUI != 0;
        HWND owner = IsWindow(static_cast<HWND>(ui->hParent)) ? static_cast<HWND>(ui->hParent) : nullptr;
        const source_window_mode mode = show_ui_ ? source_window_mode::full
                                        : values_.indicators ? source_window_mode::progress_only
                                                             : source_window_mode::hidden;
        window_ = create_source_window(*this, module_, owner, mode);
        if (!window_)
            return fail(TWCC_LOWMEMORY);
        ui->ModalUI = FALSE;
        state_ = enabled;
        if (!show_ui_ && !start_scan(values_.scan))
            announce(MSG_CLOSEDSREQ);
        return TWRC_SUCCESS;
    }
    case MSG_DISABLEDS:
        if (state_ != enabled)
            return fail(TWCC_SEQERROR);
        stop_worker();
        if (window_)
            DestroyWindow(window_);
        window_ = nullptr;
        pending_event_ = MSG_NULL;
        state_ = opened;
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 sane_source::process_event(TW_EVENT* event)
{
    event->TWMessage = MSG_NULL;
    if (state_ < enabled)
        return TWRC_NOTDSEVENT;
    if (pending_event_ != MSG_NULL) {
        event->TWMessage = std::exchange(pending_event_, MSG_NULL);
        return TWRC_DSEVENT;
    }
    // Keyboard navigation of the source's window (Tab, Return, Escape).
    auto* message = static_cast<MSG*>(event->pEvent);
    if (message && window_ && IsWindowVisible(window_) && IsDialogMessageA(window_, message))
        return TWRC_DSEVENT;
    return TWRC_NOTDSEVENT;
}

TW_UINT16 sane_source::pending_transfers(TW_UINT16 message, TW_PENDINGXFERS* pending)
{
    switch (message) {
    case MSG_GET:
        if (state_ < opened)
            return fail(TWCC_SEQERROR);
        pending->Count = state_ >= image_ready ? 1 : 0;
        return TWRC_SUCCESS;
    case MSG_ENDXFER:
    case MSG_RESET:
        if (state_ != image_ready && !(state_ == transferring && message == MSG_ENDXFER))
            return fail(TWCC_SEQERROR);
        // One image a scan: nothing is pending after it.
        pending->Count = 0;
        image_ = {};
        state_ = enabled;
        if (window_)
            show_scan_ended(window_, message == MSG_ENDXFER && show_ui_ ? "Scanned." : "");
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 sane_source::setup_file(TW_UINT16 message, TW_SETUPFILEXFER* setup)
{
    if (state_ < opened)
        return fail(TWCC_SEQERROR);
    switch (message) {
    case MSG_SET:
        if (state_ > image_ready)
            return fail(TWCC_SEQERROR);
        if (setup->Format != TWFF_BMP)
            return fail(TWCC_BADVALUE);
        file_ = *setup;
        file_.FileName[sizeof file_.FileName - 1] = '\0';
        return TWRC_SUCCESS;
    case MSG_GET:
    case MSG_GETDEFAULT:
    case MSG_RESET:
        if (message != MSG_GET || !file_.FileName[0]) {
            file_ = {};
            set_text(file_.FileName, "TWAIN.TMP");
            file_.Format = TWFF_BMP;
        }
        *setup = file_;
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 sane_source::image_info(TW_IMAGEINFO* info)
{
    if (state_ < image_ready)
        return fail(TWCC_SEQERROR);
    *info = {};
    info->XResolution = info->YResolution = fix32(image_.dpi);
    info->ImageWidth = image_.width;
    info->ImageLength = image_.height;
    info->SamplesPerPixel = static_cast<TW_INT16>(image_.channels);
    for (int i = 0; i < image_.channels; ++i)
        info->BitsPerSample[i] = 8;
    info->BitsPerPixel = static_cast<TW_INT16>(8 * image_.channels);
    info->Planar = FALSE;
    info->PixelType = static_cast<TW_INT16>(image_.channels == 3 ? TWPT_RGB : TWPT_GRAY);
    info->Compression = TWCP_NONE;
    return TWRC_SUCCESS;
}

TW_UINT16 sane_source::file_transfer()
{
    if (state_ != image_ready)
        return fail(TWCC_SEQERROR);
    if (!file_.FileName[0])
        set_text(file_.FileName, "TWAIN.TMP");
    const std::vector<uint8_t> bytes = bmp_file_bytes(image_);
    if (bytes.empty())
        return fail(TWCC_LOWMEMORY);
    if (!write_file(file_.FileName, bytes))
        return fail(TWCC_OPERATIONERROR);
    state_ = transferring;
    return TWRC_XFERDONE;
}

TW_UINT16 sane_source::native_transfer(TW_HANDLE* handle)
{
    if (state_ != image_ready)
        return fail(TWCC_SEQERROR);
    const std::vector<uint8_t> bytes = bmp_file_bytes(image_);
    if (bytes.size() <= bmp_file_header_size)
        return fail(TWCC_LOWMEMORY);
    const size_t size = bytes.size() - bmp_file_header_size;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, size);
    void* at = dib ? GlobalLock(dib) : nullptr;
    if (!at) {
        if (dib)
            GlobalFree(dib);
        return fail(TWCC_LOWMEMORY);
    }
    std::memcpy(at, bytes.data() + bmp_file_header_size, size);
    GlobalUnlock(dib);
    *handle = dib;
    state_ = transferring;
    return TWRC_XFERDONE;
}

void sane_source::announce(TW_UINT16 message)
{
    DSMENTRYPROC manager = manager_entry_;
    if (!manager) {
        // A manager of protocol 1 never hands its entry point over; it is
        // the one loaded in this process.
        if (HMODULE library = GetModuleHandleA("twain_32.dll"))
            manager = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library, "DSM_Entry")));
    }
    if (manager && manager(&identity_, &application_, DG_CONTROL, DAT_NULL, message, nullptr) == TWRC_SUCCESS)
        return;
    // Without that, the next event the application offers carries it.
    pending_event_ = message;
    PostMessageA(window_, WM_NULL, 0, 0);
}

bool sane_source::start_scan(const scan_settings& settings)
{
    if (state_ != enabled || thread_)
        return false;
    values_.scan = settings;
    if (!scanner_->apply(settings)) {
        show_scan_ended(window_, "The scanner does not take these settings.");
        values_.scan = scanner_->settings();
        return false;
    }
    values_.scan = scanner_->settings();
    ++generation_;
    show_scanning(window_);
    thread_ = CreateThread(nullptr, 0, scan_worker, this, 0, nullptr);
    if (!thread_) {
        show_scan_ended(window_, "The scan cannot start.");
        return false;
    }
    return true;
}

DWORD WINAPI sane_source::scan_worker(void* parameter)
{
    auto* source = static_cast<sane_source*>(parameter);
    HWND window = source->window_;
    const unsigned generation = source->generation_;
    source->error_.clear();
    source->result_ = source->scanner_->scan(
        source->scanned_, [&](int percent) { PostMessageA(window, WM_SOURCE_PROGRESS, generation, percent); },
        source->error_);
    PostMessageA(window, WM_SOURCE_DONE, generation, 0);
    return 0;
}

void sane_source::stop_worker()
{
    if (!thread_)
        return;
    scanner_->cancel();
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

void sane_source::cancel_scan()
{
    if (!thread_)
        return;
    stop_worker();
    scanned_ = {};
    show_scan_ended(window_, "Scan cancelled.");
    // Without its own window the source has nothing more to do.
    if (!show_ui_)
        announce(MSG_CLOSEDSREQ);
}

void sane_source::on_scan_finished(unsigned generation)
{
    if (generation != generation_ || !thread_)
        return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    if (result_ != scan_result::done) {
        const std::string text =
            result_ == scan_result::cancelled ? std::string("Scan cancelled.") : "Scanning failed: " + error_ + ".";
        show_scan_ended(window_, text.c_str());
        if (!show_ui_)
            announce(MSG_CLOSEDSREQ);
        return;
    }
    image_ = std::move(scanned_);
    scanned_ = {};
    state_ = image_ready;
    show_scan_ended(window_, "Sending the picture...");
    announce(MSG_XFERREADY);
}

void sane_source::request_close()
{
    stop_worker();
    scanned_ = {};
    if (state_ >= enabled)
        announce(MSG_CLOSEDSREQ);
}
