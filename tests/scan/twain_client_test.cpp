// The TWAIN client against Wine's source manager and a scripted source:
// the transfer-count negotiation with its fallback, the transfer loop with
// its corner cases, the source asking to close, and the temporary files.
// Usage: tilora-twain-client-test PATH_OF_THE_SCRIPTED_SOURCE
#include <windows.h>

#include <string>
#include <vector>

#include "raster/raster_image.h"
#include "scan/my_twain.h"
#include "tests/winelib/check.h"

namespace {

HWND parent = nullptr;
std::vector<std::pair<int, int>> installed;  // sizes of the pictures handed over

void install(owned_image picture)
{
    installed.emplace_back(picture->width, picture->height);
}

std::string source_trace()
{
    using trace_fn = const char* (*)();
    auto trace = reinterpret_cast<trace_fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("sane.ds"), "scripted_source_trace")));
    return trace ? trace() : "(no source)";
}

int temporary_files()
{
    char pattern[MAX_PATH];
    GetTempPathA(MAX_PATH, pattern);
    lstrcatA(pattern, "ts*.tmp");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// Offers every message to the scanner, as the program's loop does, until
// nothing has come for a while.
void pump(CMyTwain& twain)
{
    DWORD quiet_since = GetTickCount();
    const DWORD start = quiet_since;
    while (GetTickCount() - quiet_since < 300 && GetTickCount() - start < 20000) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(5);
            continue;
        }
        quiet_since = GetTickCount();
        if (twain.ProcessMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// One Scan under the script; returns what the source was asked.
std::string scan(CMyTwain& twain, const char* script, bool requested = true)
{
    SetEnvironmentVariableA("TILORA_SCRIPT", script);
    installed.clear();
    if (requested)
        twain.RequestAcquire();
    twain.Acquire(1);
    pump(twain);
    return source_trace();
}

void transfer_close_and_scan_again()
{
    CMyTwain twain(install);
    CHECK(twain.OpenManager(parent) && twain.ManagerOpen());
    const int files = temporary_files();
    CHECK(scan(twain, "close") == "open set1:1 enable info setup xfer end disable close");
    CHECK(installed.size() == 1 && installed[0] == std::make_pair(2, 1));
    CHECK(twain.TransferCount() == 1);
    // The source asked to close: it is closed, the manager stays open.
    CHECK(!twain.SourceOpen() && twain.ManagerOpen());
    CHECK(scan(twain, "") == "open set1:1 enable info setup xfer end");
    CHECK(installed.size() == 1 && twain.SourceEnabled());
    CHECK(temporary_files() == files);
}

void transfer_count_falls_back_on_the_sources_own()
{
    CMyTwain twain(install);
    twain.OpenManager(parent);
    CHECK(scan(twain, "checkstatus") == "open set1:1 get set4:5 enable info setup xfer end");
    CHECK(twain.TransferCount() == 5);
}

void images_until_the_source_has_none()
{
    CMyTwain twain(install);
    twain.OpenManager(parent);
    const int files = temporary_files();
    // 0xFFFF pending ("unknown") twice, then none.
    CHECK(scan(twain, "images=3") ==
          "open set1:1 enable info setup xfer end info setup xfer end info setup xfer end");
    CHECK(installed.size() == 3);
    CHECK(temporary_files() == files);
}

void a_source_without_end_is_cut_off()
{
    CMyTwain twain(install);
    twain.OpenManager(parent);
    const std::string trace = scan(twain, "images=0");
    CHECK(static_cast<int>(installed.size()) == CTwain::max_images_per_event);
    CHECK(trace.size() > 6 && trace.compare(trace.size() - 6, 6, " reset") == 0);
}

void failures_cancel_what_is_pending()
{
    const int files = temporary_files();
    {
        CMyTwain twain(install);
        twain.OpenManager(parent);
        CHECK(scan(twain, "failxfer") == "open set1:1 enable info setup xfer reset");
        CHECK(installed.empty() && twain.ConditionCode() == TWCC_OPERATIONERROR);
    }
    {
        CMyTwain twain(install);
        twain.OpenManager(parent);
        CHECK(scan(twain, "noinfo") == "open set1:1 enable info reset");
        CHECK(installed.empty() && twain.ConditionCode() == TWCC_SEQERROR);
    }
    CHECK(temporary_files() == files);
}

void images_are_skipped_until_a_scan_is_asked_for()
{
    CMyTwain twain(install);
    twain.OpenManager(parent);
    CHECK(scan(twain, "", false) == "open set1:1 enable info end");
    CHECK(installed.empty());
}

bool install_scripted_source(const char* unix_path)
{
    std::string path = std::string("Z:") + unix_path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    CreateDirectoryA("C:\\windows\\twain_64", nullptr);
    return CopyFileA(path.c_str(), "C:\\windows\\twain_64\\sane.ds", FALSE);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !install_scripted_source(argv[1])) {
        std::printf("usage: tilora-twain-client-test SCRIPTED_SOURCE (copying it failed)\n");
        return 2;
    }
    kit_init();
    parent = CreateWindowExA(0, "STATIC", "scanner tests", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             nullptr, nullptr);
    RUN(transfer_close_and_scan_again);
    RUN(transfer_count_falls_back_on_the_sources_own);
    RUN(images_until_the_source_has_none);
    RUN(a_source_without_end_is_cut_off);
    RUN(failures_cancel_what_is_pending);
    RUN(images_are_skipped_until_a_scan_is_asked_for);
    DestroyWindow(parent);
    kit_shutdown();
    return check_result("tilora-twain-client-test");
}
