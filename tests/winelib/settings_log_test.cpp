// The settings store against the registry and the diagnostics log against
// real files. Each run gets a fresh Wine prefix, so the registry starts empty.
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>

#include <cstring>
#include <string>

#include "app/diagnostics/diag_log.h"
#include "app/settings/settings.h"
#include "raster/raster_image.h"
#include "tests/winelib/check.h"

namespace {

const char* const key_path = "Software\\Quenbrook\\Tilora";

// Stores exactly count bytes as the value. The byte after them is not a NUL,
// so the registry cannot take one in (it adds a NUL that directly follows).
void set_raw(const char* name, const void* bytes, DWORD count)
{
    std::string copy(static_cast<const char*>(bytes), count);
    copy += 'x';
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(copy.data()), count);
        RegCloseKey(key);
    }
}

void set_text(const char* name, const char* text)
{
    set_raw(name, text, (DWORD)std::strlen(text));
}

// The value's stored text, read independently of the code under test.
bool get_stored(const char* name, std::string* text)
{
    char data[128] = {};
    DWORD type = 0, size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key_path, name, RRF_RT_REG_SZ, &type, data, &size) != ERROR_SUCCESS)
        return false;
    *text = data;
    return true;
}

void delete_key()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, key_path);
}

bool settings_equal(const stored_settings& a, const stored_settings& b)
{
    return a.metric == b.metric && a.margin_left == b.margin_left && a.margin_top == b.margin_top &&
           a.margin_right == b.margin_right && a.margin_bottom == b.margin_bottom;
}

void fresh_account_defaults()
{
    delete_key();
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, "1");
    CHECK(!metric_by_locale());
    CHECK(settings_equal(load_settings(), {false, 635, 635, 2540, 2540}));
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, "0");
    CHECK(metric_by_locale());
    CHECK(settings_equal(load_settings(), {true, 500, 500, 2000, 2000}));
}

void settings_round_trip()
{
    delete_key();
    save_settings({false, 1, -2, 300, 40000});
    std::string text;
    CHECK(get_stored("rtMargin.top", &text) && text == "-2");
    CHECK(get_stored("rtMargin.bottom", &text) && text == "40000");
    CHECK(get_stored("metric", &text) && text == "0");
    // The margins come back as saved, not as the defaults of the unit.
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, "0");
    CHECK(settings_equal(load_settings(), {false, 1, -2, 300, 40000}));

    write_setting_int("extreme", INT32_MIN);
    CHECK(read_setting_int("extreme", 7) == INT32_MIN);
}

void conversion_of_texts()
{
    delete_key();
    set_text("metric", "2");
    const stored_settings settings = load_settings();
    CHECK(settings.metric);
    CHECK(settings.margin_left == 500);  // metric defaults follow the value read
    save_settings(settings);
    std::string text;
    CHECK(get_stored("metric", &text) && text == "1");

    set_text("a", "abc");
    CHECK(read_setting_int("a", 99) == 0);
    set_text("a", "-300");
    CHECK(read_setting_int("a", 99) == -300);
    set_text("a", " \t+42mm");
    CHECK(read_setting_int("a", 99) == 42);
    set_text("a", "99999999999");
    CHECK(read_setting_int("a", 1) == INT32_MAX);
    set_raw("a", "", 0);
    CHECK(read_setting_int("a", 99) == 99);
    CHECK(read_setting_int("missing", 17) == 17);
}

void length_limit()
{
    delete_key();
    // 64 digits without a NUL fill the whole query buffer and come back
    // unterminated: unreadable, and never read past.
    std::string long_text(64, '7');
    set_raw("a", long_text.data(), 64);
    CHECK(read_setting_int("a", 5) == 5);
    // 63 characters fit; leading zeros keep the number small.
    std::string fits = std::string(60, '0') + "123";
    set_raw("a", fits.data(), 63);
    CHECK(read_setting_int("a", 5) == 123);
    set_raw("a", fits.c_str(), 64);  // the same text with its NUL stored
    CHECK(read_setting_int("a", 5) == 123);
}

// --- diagnostics log ---

std::string temp_path(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

bool file_exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_file(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

size_t count_of(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

// Runs before any log is enabled: the log is off for the whole process until then.
void log_off_writes_nothing()
{
    const std::string path = temp_path("tilora.txt");
    DeleteFileA(path.c_str());
    CHECK(!log_enabled());
    char copy[MAX_PATH] = "x";
    CHECK(!log_get_path(copy, sizeof copy) && copy[0] == '\0');
    log_printf("record %d\n", 1);
    log_rect("g_page", 1, 2, 3, 4);
    log_pair("g_poster", 5, 6);
    log_time();
    log_memory_report();
    log_system_report();
    CHECK(!file_exists(path));
    log_enable("");
    log_enable(std::string(MAX_PATH, 'c').c_str());
    CHECK(!log_enabled());
}

void default_log_place()
{
    char path[MAX_PATH];
    CHECK(log_default_path(path, sizeof path));
    const std::string text = path;
    const std::string suffix = "\\tilora.txt";
    CHECK(text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0);
    const std::string folder = text.substr(0, text.size() - suffix.size());
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    char tiny[8];
    CHECK(!log_default_path(tiny, sizeof tiny));
}

// The header line by line; the figures vary by machine, their form does not.
void header_layout()
{
    const std::string path = temp_path("header log.txt");
    log_start(path.c_str());
    CHECK(log_enabled());
    char copy[MAX_PATH];
    CHECK(log_get_path(copy, sizeof copy) && path == copy);
    char short_buffer[4];
    CHECK(!log_get_path(short_buffer, sizeof short_buffer) && short_buffer[0] == '\0');

    const std::string log = read_file(path);
    CHECK(count_of(log, "\n") == count_of(log, "\r\n"));  // text mode: every line ends in CR LF
    std::string lines[64];
    size_t count = 0, start = 0;
    for (size_t end; count < 64 && (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines[count++] = log.substr(start, end - start);
    CHECK(start == log.size());
    CHECK(count >= 28);
    if (count < 28)
        return;
    CHECK(lines[0] == "This is log file created during printing from Tilora.");
    CHECK(lines[1] == "Please, send it to us on support@quenbrook.example.");
    CHECK(lines[2] == " Thank you");
    CHECK(lines[3].empty() && lines[4].empty());
    CHECK(lines[5] == std::string(69, '-'));
    CHECK(lines[6] == "APP_VERSION: 124");
    CHECK(lines[7].rfind("time:", 0) == 0 && lines[7].size() == 5 + 24);  // ctime: "Wed Jun 30 21:49:08 1993"
    CHECK(lines[8].empty());
    CHECK(lines[9] == "Procesor(s)");
    CHECK(lines[10].rfind("Number of processors: ", 0) == 0);
    CHECK(lines[11].rfind("Processor type: ", 0) == 0);
    CHECK(lines[12].rfind("Processor architecture: 9", 0) == 0);  // AMD64
    CHECK(lines[13].empty() && lines[14] == "Memory");
    int load = -1;
    char sign[4] = {};
    CHECK(std::sscanf(lines[15].c_str(), "Percent of memory in use: %d %3s", &load, sign) == 2 && load >= 0 &&
          load <= 100 && std::string(sign) == "%" && count_of(lines[15], "%") == 1);
    const char* memory_lines[] = {"Bytes of physical memory: ", "Free physical memory bytes: ",
                                  "Bytes of paging file: ",     "Free bytes of paging file: ",
                                  "User bytes of address space: ", "Free user bytes: "};
    for (int i = 0; i < 6; ++i) {
        const std::string& line = lines[16 + i];
        CHECK(line.rfind(memory_lines[i], 0) == 0 && line.size() > 3 && line.compare(line.size() - 3, 3, " MB") == 0);
    }
    CHECK(lines[22].empty() && lines[23] == "OS");
    CHECK(lines[24] == "Microsoft Windows NT");
    int major = 0, minor = 0, build = 0;
    CHECK(std::sscanf(lines[25].c_str(), "version %d.%d (Build %d)", &major, &minor, &build) == 3 && major >= 5);
    CHECK(lines[26].rfind("Service Pack ", 0) == 0);
    CHECK(lines[27].empty() && count == 28);
}

void records_and_restart()
{
    const std::string path = temp_path("records.txt");
    log_start(path.c_str());
    log_printf("first run\n");
    // F5 again: a new log at the same place holding only the new header.
    log_start(path.c_str());
    const size_t header_size = read_file(path).size();
    std::string log = read_file(path);
    CHECK(count_of(log, "APP_VERSION") == 1 && log.find("first run") == std::string::npos);

    log_printf("%s", "print 100% of \"50%s.bmp\"\n");
    log_rect("g_image_crop", 0, -1, 300, 200);
    log_pair("g_poster", 21000, 29700);
    log = read_file(path).substr(header_size);
    CHECK(log == "print 100% of \"50%s.bmp\"\r\ng_image_crop: 0, -1, 300, 200\r\ng_poster: 21000, 29700\r\n");

    // A record longer than the buffer keeps its first 4095 bytes.
    const size_t before = read_file(path).size();
    log_printf("%s\n", std::string(5000, 'a').c_str());
    log = read_file(path);
    CHECK(log.size() == before + 4095 && log.find_first_not_of('a', before) == std::string::npos);
    log_printf("\n");

    // While another program holds the file locked the record is lost; the
    // next one is written again.
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CHECK(lock != INVALID_HANDLE_VALUE);
    log_printf("lost\n");
    CloseHandle(lock);
    log_printf("kept\n");
    log = read_file(path);
    CHECK(log.find("lost") == std::string::npos && log.size() >= 6 && log.substr(log.size() - 6) == "kept\r\n");
}

void raster_kit_messages()
{
    const std::string path = temp_path("kit.txt");
    log_start(path.c_str());
    log_route_kit_messages();
    kit_init();
    // One block more than the allocation table holds.
    void* blocks[kit_alloc_table_size + 1] = {};
    for (void*& block : blocks)
        block = kit_alloc(16);
    for (void* block : blocks)
        kit_free(block);
    const std::string log = read_file(path);
    CHECK(log.size() >= 15 && log.substr(log.size() - 15) == "mem tab is full");
}

}  // namespace

int main()
{
    RUN(fresh_account_defaults);
    RUN(settings_round_trip);
    RUN(conversion_of_texts);
    RUN(length_limit);
    RUN(log_off_writes_nothing);
    RUN(default_log_place);
    RUN(header_layout);
    RUN(records_and_restart);
    RUN(raster_kit_messages);
    return check_result("settings and log");
}
