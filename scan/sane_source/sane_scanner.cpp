// SANE through its C interface: the library is initialised while a device
// list is made or a device is open, and left again afterwards, so that a
// source loaded only to list its devices holds nothing.
#include "scan/sane_source/sane_scanner.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// SANE is one library per process; its users are counted so that it is
// initialised once and left when the last one goes.
int sane_users = 0;

struct sane_library {
    bool ready = false;
    sane_library()
    {
        if (sane_users > 0 || sane_init(nullptr, nullptr) == SANE_STATUS_GOOD) {
            ++sane_users;
            ready = true;
        }
    }
    ~sane_library()
    {
        if (ready && --sane_users == 0)
            sane_exit();
    }
    sane_library(const sane_library&) = delete;
    sane_library& operator=(const sane_library&) = delete;
};

// A picture larger than this is refused rather than held in memory.
constexpr uint64_t max_image_bytes = uint64_t(1) << 31;

bool contains_word(const char* text, const char* a, const char* b)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(a) != std::string::npos || lower.find(b) != std::string::npos;
}

double option_number(const SANE_Option_Descriptor* d, SANE_Word word)
{
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : double(word);
}

SANE_Word option_word(const SANE_Option_Descriptor* d, double value)
{
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(value) : SANE_Word(std::lround(value));
}

}  // namespace

std::vector<sane_device_entry> list_sane_devices()
{
    std::vector<sane_device_entry> devices;
    sane_library library;
    const SANE_Device** list = nullptr;
    if (!library.ready || sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return devices;
    for (; *list; ++list) {
        const SANE_Device* d = *list;
        devices.push_back({d->name ? d->name : "", d->vendor ? d->vendor : "", d->model ? d->model : ""});
    }
    return devices;
}

struct sane_scanner::state {
    sane_library library;
    SANE_Handle handle = nullptr;

    ~state()
    {
        if (handle)
            sane_close(handle);
    }

    // The option's number and descriptor, by name; -1 when the device has
    // no such option or it is not active now.
    int find(const char* name, const SANE_Option_Descriptor** descriptor) const
    {
        for (SANE_Int i = 1;; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i);
            if (!d)
                return -1;
            if (d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap)) {
                *descriptor = d;
                return i;
            }
        }
    }

    bool number(const char* name, double& value) const
    {
        const SANE_Option_Descriptor* d = nullptr;
        const int i = find(name, &d);
        SANE_Word word = 0;
        if (i < 0 || d->size != sizeof(SANE_Word) ||
            (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED) ||
            sane_control_option(handle, i, SANE_ACTION_GET_VALUE, &word, nullptr) != SANE_STATUS_GOOD)
            return false;
        value = option_number(d, word);
        return true;
    }

    bool set_number(const char* name, double value)
    {
        const SANE_Option_Descriptor* d = nullptr;
        const int i = find(name, &d);
        if (i < 0 || d->size != sizeof(SANE_Word) || !SANE_OPTION_IS_SETTABLE(d->cap))
            return false;
        SANE_Word word = option_word(d, value);
        return sane_control_option(handle, i, SANE_ACTION_SET_VALUE, &word, nullptr) == SANE_STATUS_GOOD;
    }

    std::string text(const char* name) const
    {
        const SANE_Option_Descriptor* d = nullptr;
        const int i = find(name, &d);
        if (i < 0 || d->type != SANE_TYPE_STRING || d->size <= 0)
            return {};
        std::string value(size_t(d->size), '\0');
        if (sane_control_option(handle, i, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
            return {};
        value.resize(std::strlen(value.c_str()));
        return value;
    }

    bool set_text(const char* name, const std::string& value)
    {
        const SANE_Option_Descriptor* d = nullptr;
        const int i = find(name, &d);
        if (i < 0 || d->type != SANE_TYPE_STRING || value.size() >= size_t(d->size))
            return false;
        std::string buffer(value);
        buffer.resize(size_t(d->size), '\0');
        return sane_control_option(handle, i, SANE_ACTION_SET_VALUE, buffer.data(), nullptr) == SANE_STATUS_GOOD;
    }

    // The first mode of the device's list that is colour (or grey).
    std::string mode_named(bool color) const
    {
        const SANE_Option_Descriptor* d = nullptr;
        if (find(SANE_NAME_SCAN_MODE, &d) < 0 || d->constraint_type != SANE_CONSTRAINT_STRING_LIST)
            return {};
        for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s)
            if (color ? contains_word(*s, "color", "colour") : contains_word(*s, "gray", "grey"))
                return *s;
        return {};
    }
};

std::unique_ptr<sane_scanner> sane_scanner::open(const std::string& device, std::string& error)
{
    auto s = std::make_unique<state>();
    if (!s->library.ready) {
        error = "SANE cannot be started";
        return nullptr;
    }
    const SANE_Status status = sane_open(device.c_str(), &s->handle);
    if (status != SANE_STATUS_GOOD) {
        s->handle = nullptr;
        error = sane_strstatus(status);
        return nullptr;
    }
    return std::unique_ptr<sane_scanner>(new sane_scanner(std::move(s)));
}

sane_scanner::sane_scanner(std::unique_ptr<state> s) : state_(std::move(s))
{
    read_choices();
}

sane_scanner::~sane_scanner() = default;

void sane_scanner::read_choices()
{
    scan_choices c;
    const SANE_Option_Descriptor* d = nullptr;
    if (state_->find(SANE_NAME_SCAN_RESOLUTION, &d) >= 0) {
        if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
            for (SANE_Int i = 1; i <= d->constraint.word_list[0]; ++i)
                c.resolutions.push_back(int32_t(std::lround(option_number(d, d->constraint.word_list[i]))));
        } else {
            double low = 1, high = 1200;
            if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
                low = option_number(d, d->constraint.range->min);
                high = option_number(d, d->constraint.range->max);
            }
            for (int32_t dpi : {50, 75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800})
                if (dpi >= low && dpi <= high)
                    c.resolutions.push_back(dpi);
        }
    }
    double current = 0;
    if (state_->number(SANE_NAME_SCAN_RESOLUTION, current))
        c.resolutions.push_back(int32_t(std::lround(current)));
    if (c.resolutions.empty())
        c.resolutions.push_back(75);
    std::sort(c.resolutions.begin(), c.resolutions.end());
    c.resolutions.erase(std::unique(c.resolutions.begin(), c.resolutions.end()), c.resolutions.end());

    c.color = !state_->mode_named(true).empty();
    c.gray = !state_->mode_named(false).empty();

    const SANE_Option_Descriptor* tl_x = nullptr;
    const SANE_Option_Descriptor* tl_y = nullptr;
    const SANE_Option_Descriptor* br_x = nullptr;
    const SANE_Option_Descriptor* br_y = nullptr;
    if (state_->find(SANE_NAME_SCAN_TL_X, &tl_x) >= 0 && state_->find(SANE_NAME_SCAN_TL_Y, &tl_y) >= 0 &&
        state_->find(SANE_NAME_SCAN_BR_X, &br_x) >= 0 && state_->find(SANE_NAME_SCAN_BR_Y, &br_y) >= 0 &&
        br_x->unit == SANE_UNIT_MM && br_y->unit == SANE_UNIT_MM &&
        tl_x->constraint_type == SANE_CONSTRAINT_RANGE && tl_y->constraint_type == SANE_CONSTRAINT_RANGE &&
        br_x->constraint_type == SANE_CONSTRAINT_RANGE && br_y->constraint_type == SANE_CONSTRAINT_RANGE) {
        c.area = true;
        c.area_left = option_number(tl_x, tl_x->constraint.range->min);
        c.area_top = option_number(tl_y, tl_y->constraint.range->min);
        c.area_right = option_number(br_x, br_x->constraint.range->max);
        c.area_bottom = option_number(br_y, br_y->constraint.range->max);
    }
    choices_ = c;
}

scan_settings sane_scanner::settings() const
{
    scan_settings s;
    double value = 0;
    s.dpi = state_->number(SANE_NAME_SCAN_RESOLUTION, value) ? int32_t(std::lround(value)) : choices_.resolutions[0];
    const std::string mode = state_->text(SANE_NAME_SCAN_MODE);
    s.color = mode.empty() ? choices_.color : contains_word(mode.c_str(), "color", "colour");
    double left = 0, top = 0, right = 0, bottom = 0;
    if (choices_.area && state_->number(SANE_NAME_SCAN_TL_X, left) && state_->number(SANE_NAME_SCAN_TL_Y, top) &&
        state_->number(SANE_NAME_SCAN_BR_X, right) && state_->number(SANE_NAME_SCAN_BR_Y, bottom)) {
        s.left = left;
        s.top = top;
        s.width = right - left;
        s.height = bottom - top;
    }
    return s;
}

bool sane_scanner::apply(const scan_settings& wanted)
{
    bool ok = true;
    // The mode first: it may change which resolutions and areas apply.
    const std::string mode = state_->mode_named(wanted.color);
    if (!mode.empty())
        ok = state_->set_text(SANE_NAME_SCAN_MODE, mode) && ok;
    if (wanted.dpi > 0)
        ok = state_->set_number(SANE_NAME_SCAN_RESOLUTION, wanted.dpi) && ok;
    if (choices_.area && wanted.width > 0 && wanted.height > 0) {
        // The bottom-right corner first would be refused where it falls
        // before the old top-left one; the top-left first where it falls
        // past the old bottom-right one. Going through the full area avoids both.
        ok = state_->set_number(SANE_NAME_SCAN_TL_X, choices_.area_left) && ok;
        ok = state_->set_number(SANE_NAME_SCAN_TL_Y, choices_.area_top) && ok;
        ok = state_->set_number(SANE_NAME_SCAN_BR_X, wanted.left + wanted.width) && ok;
        ok = state_->set_number(SANE_NAME_SCAN_BR_Y, wanted.top + wanted.height) && ok;
        ok = state_->set_number(SANE_NAME_SCAN_TL_X, wanted.left) && ok;
        ok = state_->set_number(SANE_NAME_SCAN_TL_Y, wanted.top) && ok;
    }
    return ok;
}

void sane_scanner::cancel()
{
    cancelled_ = true;
    sane_cancel(state_->handle);
}

namespace {

// One sample of a frame as 8 bits.
uint8_t sample(const uint8_t* line, int32_t index, int depth)
{
    if (depth == 16) {
        uint16_t value;
        std::memcpy(&value, line + size_t(index) * 2, 2);
        return uint8_t(value >> 8);
    }
    if (depth == 1)  // a set bit is black
        return (line[index / 8] >> (7 - index % 8)) & 1 ? 0 : 255;
    return line[index];
}

// Copies the rows of one frame into the picture's channels.
void take_frame(const SANE_Parameters& p, const std::vector<uint8_t>& raw, int32_t rows, scanned_image& image)
{
    const int32_t frame_channels = p.format == SANE_FRAME_RGB ? 3 : 1;
    int32_t first = 0;
    if (p.format == SANE_FRAME_GREEN)
        first = 1;
    else if (p.format == SANE_FRAME_BLUE)
        first = 2;
    const size_t row_bytes = size_t(image.width) * image.channels;
    for (int32_t y = 0; y < rows && y < image.height; ++y) {
        const uint8_t* line = raw.data() + size_t(y) * p.bytes_per_line;
        uint8_t* out = image.pixels.data() + size_t(y) * row_bytes;
        for (int32_t x = 0; x < image.width; ++x)
            for (int32_t c = 0; c < frame_channels; ++c)
                out[size_t(x) * image.channels + first + c] = sample(line, x * frame_channels + c, p.depth);
    }
}

}  // namespace

scan_result sane_scanner::scan(scanned_image& image, const scan_progress& progress, std::string& error)
{
    cancelled_ = false;
    image = {};
    double dpi = 0;
    image.dpi = state_->number(SANE_NAME_SCAN_RESOLUTION, dpi) ? int32_t(std::lround(dpi)) : 0;
    const auto fail = [&](SANE_Status status) {
        sane_cancel(state_->handle);
        if (status == SANE_STATUS_CANCELLED || cancelled_)
            return scan_result::cancelled;
        error = sane_strstatus(status);
        return scan_result::failed;
    };
    for (int frame = 0;; ++frame) {
        SANE_Status status = sane_start(state_->handle);
        if (status != SANE_STATUS_GOOD)
            return fail(status);
        SANE_Parameters p{};
        status = sane_get_parameters(state_->handle, &p);
        if (status != SANE_STATUS_GOOD)
            return fail(status);
        const bool single = p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB;
        const bool band = p.format == SANE_FRAME_RED || p.format == SANE_FRAME_GREEN || p.format == SANE_FRAME_BLUE;
        const int32_t frame_channels = p.format == SANE_FRAME_RGB ? 3 : 1;
        if ((!single && !band) || (p.depth != 1 && p.depth != 8 && p.depth != 16) ||
            (p.depth == 1 && p.format == SANE_FRAME_RGB) || p.pixels_per_line <= 0 ||
            p.bytes_per_line < (int64_t(p.pixels_per_line) * frame_channels * p.depth + 7) / 8) {
            error = "the scanner sends a picture this source cannot read";
            sane_cancel(state_->handle);
            return scan_result::failed;
        }
        // Rows as they come; a hand scanner does not know their number.
        std::vector<uint8_t> raw;
        const uint64_t expected = p.lines > 0 ? uint64_t(p.lines) * uint64_t(p.bytes_per_line) : 0;
        if (expected > max_image_bytes) {
            error = "the picture is too large";
            sane_cancel(state_->handle);
            return scan_result::failed;
        }
        raw.reserve(size_t(expected));
        uint8_t buffer[65536];
        for (;;) {
            SANE_Int length = 0;
            status = sane_read(state_->handle, buffer, sizeof buffer, &length);
            if (status == SANE_STATUS_EOF)
                break;
            if (status != SANE_STATUS_GOOD || cancelled_)
                return fail(cancelled_ ? SANE_STATUS_CANCELLED : status);
            if (raw.size() + size_t(length) > max_image_bytes) {
                error = "the picture is too large";
                sane_cancel(state_->handle);
                return scan_result::failed;
            }
            raw.insert(raw.end(), buffer, buffer + length);
            if (progress && expected)
                progress(int(std::min<uint64_t>(100, raw.size() * 100 / expected) / (band ? 3 : 1) + frame * 33));
        }
        const int32_t rows = int32_t(raw.size() / size_t(p.bytes_per_line));
        if (frame == 0) {
            image.width = p.pixels_per_line;
            image.height = rows;
            image.channels = band ? 3 : frame_channels;
            image.pixels.assign(size_t(image.width) * image.channels * size_t(image.height), 0);
        }
        take_frame(p, raw, rows, image);
        if (p.last_frame || !band || frame == 2)
            break;
    }
    sane_cancel(state_->handle);
    if (image.width <= 0 || image.height <= 0) {
        error = "the scanner sent no picture";
        return scan_result::failed;
    }
    return scan_result::done;
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> bmp_file_bytes(const scanned_image& image)
{
    const bool gray = image.channels == 1;
    const uint32_t palette = gray ? 256 * 4 : 0;
    const uint64_t stride = (uint64_t(image.width) * (gray ? 1 : 3) + 3) / 4 * 4;
    const uint64_t bits = stride * uint64_t(image.height);
    const uint32_t offset = uint32_t(bmp_file_header_size) + 40 + palette;
    if (image.width <= 0 || image.height <= 0 || (image.channels != 1 && image.channels != 3) ||
        bits + offset > std::numeric_limits<uint32_t>::max() ||
        image.pixels.size() < size_t(image.width) * image.channels * size_t(image.height))
        return {};
    const uint32_t per_metre = uint32_t(std::lround(image.dpi * 10000.0 / 254.0));
    std::vector<uint8_t> out;
    out.reserve(size_t(offset + bits));
    out.push_back('B');
    out.push_back('M');
    put32(out, uint32_t(offset + bits));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, uint32_t(image.width));
    put32(out, uint32_t(image.height));  // bottom-up
    put16(out, 1);
    put16(out, gray ? 8 : 24);
    put32(out, 0);  // BI_RGB
    put32(out, uint32_t(bits));
    put32(out, per_metre);
    put32(out, per_metre);
    put32(out, gray ? 256 : 0);
    put32(out, 0);
    for (uint32_t i = 0; gray && i < 256; ++i)
        put32(out, i * 0x010101);
    const size_t row_bytes = size_t(image.width) * image.channels;
    for (int32_t y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.pixels.data() + size_t(y) * row_bytes;
        const size_t start = out.size();
        if (gray) {
            out.insert(out.end(), row, row + row_bytes);
        } else {
            for (int32_t x = 0; x < image.width; ++x) {
                out.push_back(row[x * 3 + 2]);
                out.push_back(row[x * 3 + 1]);
                out.push_back(row[x * 3]);
            }
        }
        out.resize(start + size_t(stride), 0);
    }
    return out;
}
