// The print diagnostics log, switched on with F5: each record is appended to
// the file and the file closed again. While the log is off every call does
// nothing, so callers log unconditionally.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr const char* log_file_name = "tilora.txt";
constexpr const char* log_support_address = "support@quenbrook.example";
// Each record is formatted into a buffer of this size; a longer record is
// cut to the first log_record_size - 1 bytes, never overflowing.
constexpr size_t log_record_size = 4096;

// Switches the log on at path and deletes any file there, so that every
// enabled log starts empty. A null, empty or over-long path (260 characters
// and more) is ignored.
void log_enable(const char* path);
bool log_enabled();
// Copies the path into destination (size bytes) and returns true when the log
// is on; false, with destination empty, when it is off or the path does not fit.
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
// Where F5 puts the log: "tilora.txt" in the documents folder (created when
// missing), in c:\ on a version 4 system, or in the temporary folder when the
// documents folder cannot be had. False when the path does not fit.
bool log_default_path(char* path, size_t size);
// A fresh log at path with its header: version, time and the system report.
void log_start(const char* path);
// The F5 action: a fresh log in the documents folder with its header, and a
// message box owned by owner (a window handle) telling where it is.
void enable_log_command(void* owner);
// Routes the raster kit's messages ("mem tab is full") into the log unchanged.
void log_route_kit_messages();
