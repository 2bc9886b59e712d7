// The source record behind every source, and CISIO, the view through which
// readers read it. Only file sources (kind 1) and memory sources (kind 2) are
// made by this library; the record keeps room for the other kinds.
#pragma once
#include <cstdint>
#include <cstdio>

#include "imageio/imageio.h"

constexpr uint32_t is_source_signature_1 = 0x07475590;
constexpr uint32_t is_source_signature_2 = 0x12345678;
constexpr int is_source_name_size = 260;

enum : int32_t {
    IS_SOURCE_FILE_STREAM = 1,
    IS_SOURCE_MEMORY = 2,
    IS_SOURCE_CALLBACKS = 3,
    IS_SOURCE_FILE_HANDLE = 4,
    IS_SOURCE_COUNTING_SINK = 5,
};

struct ISSourceRecord {
    uint32_t signature_1;
    FILE* stream;                 // kind 1
    void* handle;                 // kind 4
    int32_t kind;
    const uint8_t* memory_base;   // kind 2
    uint32_t memory_size;         // kind 2
    uint32_t position;            // kinds 2 and 5
    uint32_t high_water;          // largest position written (kinds 2 and 5)
    char file_name[is_source_name_size];  // kind 1, NUL-terminated
    uint8_t writable;
    uint8_t reserved;
    void* callbacks[7];           // kind 3: read, write, seek, tell, size, end test, close
    uintptr_t callback_user;
    uint32_t signature_2;
};

// True for a record made by this library and not yet closed, with both
// signatures, a known kind and that kind's resource. The record's memory is
// read only once it is known to be a live record.
bool is_valid_source(const ISSourceRecord* source);

// Registration of live records (done by the openers and by close).
void register_source(ISSourceRecord* source);
void unregister_source(ISSourceRecord* source);

class CISIO {
public:
    explicit CISIO(ISSourceRecord* record) : record_(record) {}

    ISSourceRecord* record() const { return record_; }
    // Bytes read, 0 at the end or on failure.
    uint32_t read(void* buffer, uint32_t count);
    bool read_exactly(void* buffer, uint32_t count) { return read(buffer, count) == count; }
    // Reads and drops count bytes; false when the source ends first.
    bool skip(uint64_t count);
    // Items of the given size written.
    uint32_t write(const void* buffer, uint32_t size, uint32_t count);
    bool seek(int64_t distance, int32_t origin);
    bool rewind() { return seek(0, 0); }
    // Current position, -1 on failure.
    int64_t tell();
    // Length of the data, -1 on failure.
    int64_t size();
    bool at_end();
    // Closes the stream; returns the position reached.
    int64_t close();
    // The name the source was opened from ("" for other sources).
    const char* name() const;

private:
    ISSourceRecord* record_;
};
