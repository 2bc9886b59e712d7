// Minimal checks for the Windows API test programs, which run under wine
// without a test framework: each failed check prints where and what, and
// the program's exit status is the number of failures.
#pragma once
#include <cstdio>

static int g_check_failures = 0;  // one test program is one translation unit

inline bool check_report(bool ok, const char* file, int line, const char* what)
{
    if (!ok) {
        ++g_check_failures;
        std::printf("%s:%d: check failed: %s\n", file, line, what);
        // Wine ends the process without flushing the host's stdio buffers.
        std::fflush(nullptr);
    }
    return ok;
}

#define CHECK(condition) check_report((condition), __FILE__, __LINE__, #condition)

// Runs one group of checks, naming it so that a failure can be found.
#define RUN(group)                                   \
    do {                                             \
        std::printf("-- %s\n", #group);              \
        std::fflush(nullptr);                         \
        group();                                     \
    } while (0)

inline int check_result(const char* program)
{
    std::printf("%s: %s (%d failed)\n", program, g_check_failures ? "FAILED" : "ok", g_check_failures);
    std::fflush(nullptr);
    return g_check_failures ? 1 : 0;
}
