// Entry points that open, use and close sources.
#include "imageio/platform.h"
#include "imageio/read_context.h"

#include <cstring>

namespace {

ISSourceRecord* new_record(int32_t kind)
{
    auto* record = static_cast<ISSourceRecord*>(is_global_alloc(sizeof(ISSourceRecord)));
    if (!record)
        return nullptr;
    record->signature_1 = is_source_signature_1;
    record->signature_2 = is_source_signature_2;
    record->kind = kind;
    return record;
}

// Keeps the end of an over-long name: detection only looks at the extension.
void store_name(ISSourceRecord* record, const char* name)
{
    size_t length = std::strlen(name);
    if (length >= is_source_name_size) {
        name += length - (is_source_name_size - 1);
        length = is_source_name_size - 1;
    }
    std::memcpy(record->file_name, name, length);
    record->file_name[length] = 0;
}

// Thread state and source check shared by the source operations; null when
// the operation must not go on (the error is then set already).
ISThreadState* checked(const ISSourceRecord* source, bool arguments_ok = true)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    const int32_t error = arguments_ok ? source_error(source) : IS_ERR_BAD_ARGUMENT;
    is_set_error(state, error);
    return error == IS_OK ? state : nullptr;
}

}  // namespace

ISSourceRecord* is_open_file_source(const char* name)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    if (!name || !*name) {
        is_set_error(state, IS_ERR_CANT_OPEN);
        return nullptr;
    }
    ISSourceRecord* record = new_record(IS_SOURCE_FILE_STREAM);
    if (!record) {
        is_set_error(state, IS_ERR_NO_MEMORY);
        return nullptr;
    }
    record->stream = open_file_for_reading(name);
    if (!record->stream) {
        is_global_free(record);
        is_set_error(state, IS_ERR_CANT_OPEN);
        return nullptr;
    }
    store_name(record, name);
    register_source(record);
    is_set_error(state, IS_OK);
    return record;
}

ISSourceRecord* is_open_memory_source(const void* base, uint32_t size)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    if (!base || size == 0) {
        is_set_error(state, IS_ERR_BAD_ARGUMENT);
        return nullptr;
    }
    ISSourceRecord* record = new_record(IS_SOURCE_MEMORY);
    if (!record) {
        is_set_error(state, IS_ERR_NO_MEMORY);
        return nullptr;
    }
    record->memory_base = static_cast<const uint8_t*>(base);
    record->memory_size = size;
    register_source(record);
    is_set_error(state, IS_OK);
    return record;
}

int64_t is_close_source(ISSourceRecord* source)
{
    if (!checked(source))
        return 0;
    unregister_source(source);
    const int64_t reached = CISIO(source).close();
    source->signature_1 = 0;
    source->signature_2 = 0;
    is_global_free(source);
    return reached;
}

bool is_seek(ISSourceRecord* source, int64_t distance, int32_t origin)
{
    ISThreadState* state = checked(source);
    if (!state)
        return false;
    const bool done = CISIO(source).seek(distance, origin);
    is_set_error(state, done ? IS_OK : IS_ERR_READ);
    return done;
}

uint32_t is_read(ISSourceRecord* source, void* buffer, uint32_t count)
{
    ISThreadState* state = checked(source, buffer != nullptr || count == 0);
    if (!state)
        return 0;
    const uint32_t n = CISIO(source).read(buffer, count);
    is_set_error(state, n == count ? IS_OK : IS_ERR_READ);
    return n;
}

bool is_write(ISSourceRecord* source, const void* buffer, uint32_t count)
{
    ISThreadState* state = checked(source, buffer != nullptr || count == 0);
    if (!state)
        return false;
    if (!source->writable) {
        is_set_error(state, IS_ERR_BAD_ARGUMENT);
        return false;
    }
    const bool done = count == 0 || CISIO(source).write(buffer, 1, count) == count;
    is_set_error(state, done ? IS_OK : IS_ERR_READ);
    return done;
}

namespace {

// Runs a position query (tell or size) as an entry point.
bool position_query(ISSourceRecord* source, int64_t* out, int64_t (CISIO::*query)())
{
    ISThreadState* state = checked(source, out != nullptr);
    if (!state)
        return false;
    CISIO io(source);
    *out = (io.*query)();
    const bool done = *out >= 0;
    is_set_error(state, done ? IS_OK : IS_ERR_READ);
    return done;
}

}  // namespace

bool is_tell(ISSourceRecord* source, int64_t* position)
{
    return position_query(source, position, &CISIO::tell);
}

bool is_get_size(ISSourceRecord* source, int64_t* size)
{
    return position_query(source, size, &CISIO::size);
}

bool is_at_end(ISSourceRecord* source)
{
    if (!checked(source))
        return true;
    return CISIO(source).at_end();
}
