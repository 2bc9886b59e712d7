// The TWAIN data source over SANE: every SANE device is one source. It runs
// on the application's thread, except for the scan itself, which a worker
// thread reads into memory while the source's window stays responsive.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "scan/sane_source/capabilities.h"
#include "scan/sane_source/sane_scanner.h"
#include "scan/twain_protocol.h"

class sane_source {
public:
    explicit sane_source(HINSTANCE module) : module_(module) {}
    ~sane_source();
    sane_source(const sane_source&) = delete;
    sane_source& operator=(const sane_source&) = delete;

    // One request of the source manager or the application.
    TW_UINT16 entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 data_type, TW_UINT16 message, TW_MEMREF data);

    // For the source's window.
    const scan_choices& choices() const { return scanner_->choices(); }
    const scan_settings& settings() const { return values_.scan; }
    const char* title() const { return identity_.ProductName; }
    bool scanning() const { return thread_ != nullptr; }
    // Scans with the given settings; false (with the reason shown) when the
    // scan cannot start.
    bool start_scan(const scan_settings& settings);
    void cancel_scan();
    void on_scan_finished(unsigned generation);
    // The user closes the window or presses Cancel with no scan running.
    void request_close();
    void window_destroyed() { window_ = nullptr; }

private:
    TW_UINT16 fail(TW_UINT16 condition);
    TW_UINT16 identity(TW_IDENTITY* origin, TW_UINT16 message, TW_IDENTITY* data);
    TW_UINT16 open(TW_IDENTITY* origin, TW_IDENTITY* data);
    void close();
    TW_UINT16 user_interface(TW_UINT16 message, TW_USERINTERFACE* ui);
    TW_UINT16 process_event(TW_EVENT* event);
    TW_UINT16 pending_transfers(TW_UINT16 message, TW_PENDINGXFERS* pending);
    TW_UINT16 setup_file(TW_UINT16 message, TW_SETUPFILEXFER* setup);
    TW_UINT16 image_info(TW_IMAGEINFO* info);
    TW_UINT16 file_transfer();
    TW_UINT16 native_transfer(TW_HANDLE* handle);
    void announce(TW_UINT16 message);
    void stop_worker();
    static DWORD WINAPI scan_worker(void* source);

    // TWAIN's states of a source.
    enum : int { closed = 3, opened = 4, enabled = 5, image_ready = 6, transferring = 7 };

    HINSTANCE module_;
    int state_ = closed;
    TW_UINT16 condition_ = TWCC_SUCCESS;
    TW_IDENTITY identity_{};
    TW_IDENTITY application_{};
    DSMENTRYPROC manager_entry_ = nullptr;  // from a manager that hands it over
    std::vector<sane_device_entry> listed_;  // the devices named while the manager lists sources
    size_t next_listed_ = 0;
    std::unique_ptr<sane_scanner> scanner_;
    source_values values_;
    TW_SETUPFILEXFER file_{};
    bool show_ui_ = true;
    HWND window_ = nullptr;
    TW_UINT16 pending_event_ = MSG_NULL;
    // The scan on the worker thread and what it leaves.
    HANDLE thread_ = nullptr;
    unsigned generation_ = 0;
    scanned_image scanned_;
    scan_result result_ = scan_result::failed;
    std::string error_;
    scanned_image image_;  // the image on offer
};

// The source's identity for a device: its SANE name as the family, and a
// product name that tells it from the others.
void describe_device(const sane_device_entry& device, TW_IDENTITY& identity);
