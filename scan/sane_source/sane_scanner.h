// The scanners SANE knows, seen without any Windows type: the list of
// devices, the few settings the source offers (resolution, colour or grey,
// area) and one scan into memory, cancellable from another thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sane_device_entry {
    std::string name;  // SANE's device name, e.g. "test:0"
    std::string vendor;
    std::string model;
};

// Every device SANE finds now.
std::vector<sane_device_entry> list_sane_devices();

// What a device offers.
struct scan_choices {
    std::vector<int32_t> resolutions;  // dpi, ascending; never empty
    bool gray = false;
    bool color = false;
    bool area = false;                 // the device takes a scan area
    double area_left = 0, area_top = 0, area_right = 0, area_bottom = 0;  // its bounds in mm
};

struct scan_settings {
    int32_t dpi = 0;
    bool color = false;
    double left = 0, top = 0, width = 0, height = 0;  // mm
};

// A scanned picture: rows top-down, width x channels bytes each, 8 bits a
// sample; one channel is grey, three are red, green, blue.
struct scanned_image {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;
    int32_t dpi = 0;
    std::vector<uint8_t> pixels;
};

enum class scan_result { done, cancelled, failed };

// Receives the share of the scan done so far, 0 to 100.
using scan_progress = std::function<void(int percent)>;

class sane_scanner {
public:
    // Opens the device; null with the reason in error when it cannot be had.
    static std::unique_ptr<sane_scanner> open(const std::string& device, std::string& error);
    ~sane_scanner();
    sane_scanner(const sane_scanner&) = delete;
    sane_scanner& operator=(const sane_scanner&) = delete;

    const scan_choices& choices() const { return choices_; }
    // The device's settings now.
    scan_settings settings() const;
    // Hands the settings to the device, which may round them (settings()
    // then tells); false when the device refuses one.
    bool apply(const scan_settings& wanted);
    // Scans one picture into image; blocks until done, cancelled or failed.
    scan_result scan(scanned_image& image, const scan_progress& progress, std::string& error);
    // Stops a scan in progress; callable from any thread.
    void cancel();

    struct state;

private:
    explicit sane_scanner(std::unique_ptr<state> s);
    void read_choices();

    std::unique_ptr<state> state_;
    scan_choices choices_;
    std::atomic<bool> cancelled_{false};
};

// The picture as a BMP file (8-bit grey with a grey palette, or 24-bit
// colour); without the 14-byte file header it is a packed DIB.
std::vector<uint8_t> bmp_file_bytes(const scanned_image& image);
constexpr size_t bmp_file_header_size = 14;
