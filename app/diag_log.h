// The print diagnostics log, switched on with F5: each record is appended to
// the file and the file closed again. While the log is off every call does
// nothing, so callers log unconditionally.
#pragma once
#include <cstddef>
#include <cstdint>

void log_enable(const char* path);
bool log_enabled();
// Copies the path into destination (size bytes) and returns true when the log is on.
bool log_get_path(char* destination, size_t size);
void log_printf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void log_rect(const char* label, int32_t left, int32_t top, int32_t right, int32_t bottom);
void log_pair(const char* label, int32_t first, int32_t second);
void log_time();
void log_memory_report();
void log_system_report();
// The F5 action: a fresh log in the documents folder with its header, and a
// message box owned by owner (a window handle) telling where it is.
void enable_log_command(void* owner);
