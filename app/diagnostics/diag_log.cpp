#include "app/diagnostics/diag_log.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "app/base/app_version.h"
#include "raster/raster_image.h"

namespace {

// Where the log goes; empty while it is off. The raster kit's message hook
// and the print job's log writer take no parameter of the program's, so the
// log keeps its one path here, written only through log_enable.
char g_log_path[MAX_PATH] = "";

// Appends text to the log file in text mode: every "\n" becomes "\r\n". The
// file is opened for this one record and closed again, so that what was
// written survives a crash and a viewer may read the log at any time.
void append_record(const char* text, size_t length)
{
    HANDLE file = CreateFileA(g_log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;  // the record is lost; the next one tries again
    SetFilePointer(file, 0, nullptr, FILE_END);
    char translated[2 * log_record_size];
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            translated[out++] = '\r';
        translated[out++] = text[i];
    }
    DWORD written = 0;
    WriteFile(file, translated, (DWORD)out, &written, nullptr);
    CloseHandle(file);
}

void kit_message_to_log(const char* text)
{
    log_printf("%s", text);
}

}  // namespace

void log_enable(const char* path)
{
    if (!path || !*path || std::strlen(path) >= sizeof g_log_path)
        return;
    std::strcpy(g_log_path, path);
    DeleteFileA(g_log_path);
}

bool log_enabled()
{
    return g_log_path[0] != '\0';
}

bool log_get_path(char* destination, size_t size)
{
    if (!destination || size == 0)
        return false;
    destination[0] = '\0';
    if (!log_enabled() || std::strlen(g_log_path) >= size)
        return false;
    std::strcpy(destination, g_log_path);
    return true;
}

void log_printf(const char* format, ...)
{
    if (!log_enabled())
        return;
    char record[log_record_size];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(record, sizeof record, format, args);
    va_end(args);
    if (length < 0)
        return;
    // A longer record keeps what fits the buffer.
    append_record(record, (size_t)length < sizeof record ? (size_t)length : sizeof record - 1);
}

void log_rect(const char* label, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    log_printf("%s: %i, %i, %i, %i\n", label, (int)left, (int)top, (int)right, (int)bottom);
}

void log_pair(const char* label, int32_t first, int32_t second)
{
    log_printf("%s: %i, %i\n", label, (int)first, (int)second);
}

void log_time()
{
    const time_t now = std::time(nullptr);
    const char* text = std::ctime(&now);
    log_printf("time:%s\n", text ? text : "\n");
}

void log_memory_report()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    log_printf("Percent of memory in use: %d %%\n", (int)status.dwMemoryLoad);
    log_printf("Bytes of physical memory: %d MB\n", (int)(status.ullTotalPhys >> 20));
    log_printf("Free physical memory bytes: %d MB\n", (int)(status.ullAvailPhys >> 20));
    log_printf("Bytes of paging file: %d MB\n", (int)(status.ullTotalPageFile >> 20));
    log_printf("Free bytes of paging file: %d MB\n", (int)(status.ullAvailPageFile >> 20));
    log_printf("User bytes of address space: %d MB\n", (int)(status.ullTotalVirtual >> 20));
    log_printf("Free user bytes: %d MB\n", (int)(status.ullAvailVirtual >> 20));
    log_printf("\n");
}

void log_system_report()
{
    log_printf("Procesor(s)\n");
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    log_printf("Number of processors: %u\n", (unsigned)system.dwNumberOfProcessors);
    log_printf("Processor type: %u\n", (unsigned)system.dwProcessorType);
    log_printf("Processor architecture: %u\n", (unsigned)system.wProcessorArchitecture);
    log_printf("\n");

    log_printf("Memory\n");
    log_memory_report();

    log_printf("OS\n");
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof version;
    bool service_pack = true;
    bool known = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
    if (!known) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        known = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
        service_pack = false;
    }
    if (known) {
        switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            log_printf("Microsoft Win32s\n");
            break;
        case VER_PLATFORM_WIN32_WINDOWS:
            if (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion > 0))
                log_printf("Microsoft Windows 98\n");
            else
                log_printf("Microsoft Windows 95\n");
            break;
        case VER_PLATFORM_WIN32_NT:
            log_printf("Microsoft Windows NT\n");
            break;
        default:
            break;
        }
        log_printf("version %d.%d (Build %d)\n", (int)version.dwMajorVersion, (int)version.dwMinorVersion,
                   (int)(version.dwBuildNumber & 0xFFFF));
        if (service_pack)
            log_printf("Service Pack %d.%d\n", (int)version.wServicePackMajor, (int)version.wServicePackMinor);
    }
    log_printf("\n");
}

bool log_default_path(char* path, size_t size)
{
    char folder[MAX_PATH] = "";
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version) && version.dwMajorVersion == 4) {
        std::strcpy(folder, "c:\\");
    } else if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                       folder)) ||
               !folder[0]) {
        // Without a documents folder the log goes to the temporary folder,
        // which every account has.
        if (!GetTempPathA(sizeof folder, folder))
            return false;
    }
    const size_t length = std::strlen(folder);
    const char* separator = (length && folder[length - 1] == '\\') ? "" : "\\";
    const int written = std::snprintf(path, size, "%s%s%s", folder, separator, log_file_name);
    return written > 0 && (size_t)written < size && (size_t)written < MAX_PATH;
}

void log_start(const char* path)
{
    log_enable(path);
    log_printf("This is log file created during printing from Tilora.\n");
    log_printf("Please, send it to us on %s.\n", log_support_address);
    log_printf(" Thank you\n");
    log_printf("\n");
    log_printf("\n%s\n", std::string(69, '-').c_str());
    log_printf("APP_VERSION: %i\n", app_version_major * 100 + app_version_minor);
    log_time();
    log_system_report();
}

void enable_log_command(void* owner)
{
    char path[MAX_PATH];
    if (!log_default_path(path, sizeof path))
        return;
    log_start(path);
    char message[MAX_PATH + 64];
    std::snprintf(message, sizeof message, "The log was enabled to file:\r\n %s", path);
    MessageBoxA(static_cast<HWND>(owner), message, "Tilora", MB_OK | MB_ICONINFORMATION);
}

void log_route_kit_messages()
{
    kit_set_log_hook(kit_message_to_log);
}
