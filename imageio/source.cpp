#include "imageio/source.h"

#include "imageio/platform.h"

#include <cstring>
#include <unordered_set>

namespace {

// Records handed out and not yet closed. Validation consults this set before
// touching a record, so a stale or foreign pointer is refused without being
// read.
std::unordered_set<const ISSourceRecord*>& live_sources()
{
    static auto* set = new std::unordered_set<const ISSourceRecord*>;
    return *set;
}

int whence_of(int32_t origin)
{
    switch (origin) {
    case 0: return SEEK_SET;
    case 1: return SEEK_CUR;
    case 2: return SEEK_END;
    default: return -1;
    }
}

}  // namespace

void register_source(ISSourceRecord* source)
{
    registry_lock();
    live_sources().insert(source);
    registry_unlock();
}

void unregister_source(ISSourceRecord* source)
{
    registry_lock();
    live_sources().erase(source);
    registry_unlock();
}

bool is_valid_source(const ISSourceRecord* source)
{
    if (!source)
        return false;
    registry_lock();
    const bool live = live_sources().count(source) != 0;
    registry_unlock();
    if (!live || source->signature_1 != is_source_signature_1 || source->signature_2 != is_source_signature_2)
        return false;
    switch (source->kind) {
    case IS_SOURCE_FILE_STREAM: return source->stream != nullptr;
    case IS_SOURCE_MEMORY: return source->memory_base != nullptr && source->memory_size != 0;
    case IS_SOURCE_FILE_HANDLE: return source->handle != nullptr;
    case IS_SOURCE_CALLBACKS:
    case IS_SOURCE_COUNTING_SINK: return true;
    default: return false;
    }
}

uint32_t CISIO::read(void* buffer, uint32_t count)
{
    ISSourceRecord* r = record_;
    if (count == 0)
        return 0;
    switch (r->kind) {
    case IS_SOURCE_FILE_STREAM:
        return (uint32_t)std::fread(buffer, 1, count, r->stream);
    case IS_SOURCE_MEMORY: {
        const uint32_t end = r->writable ? r->high_water : r->memory_size;
        if (r->position >= end)
            return 0;
        const uint32_t n = count < end - r->position ? count : end - r->position;
        std::memcpy(buffer, r->memory_base + r->position, n);
        r->position += n;
        return n;
    }
    default:
        return 0;
    }
}

bool CISIO::skip(uint64_t count)
{
    uint8_t scratch[4096];
    while (count > 0) {
        const uint32_t part = count < sizeof scratch ? (uint32_t)count : (uint32_t)sizeof scratch;
        if (read(scratch, part) != part)
            return false;
        count -= part;
    }
    return true;
}

uint32_t CISIO::write(const void* buffer, uint32_t size, uint32_t count)
{
    ISSourceRecord* r = record_;
    if (!r->writable || size == 0 || count == 0)
        return 0;
    switch (r->kind) {
    case IS_SOURCE_FILE_STREAM:
        return (uint32_t)std::fwrite(buffer, size, count, r->stream);
    case IS_SOURCE_MEMORY: {
        uint32_t items = (r->memory_size - r->position) / size;
        if (r->position >= r->memory_size)
            items = 0;
        if (items > count)
            items = count;
        // A writable block is the caller's own memory; the base is kept const
        // only because read-only blocks are the usual case.
        std::memcpy(const_cast<uint8_t*>(r->memory_base) + r->position, buffer, (size_t)items * size);
        r->position += items * size;
        if (r->position > r->high_water)
            r->high_water = r->position;
        return items;
    }
    default:
        return 0;
    }
}

bool CISIO::seek(int64_t distance, int32_t origin)
{
    ISSourceRecord* r = record_;
    switch (r->kind) {
    case IS_SOURCE_FILE_STREAM: {
        const int whence = whence_of(origin);
        return whence >= 0 && fseeko(r->stream, (off_t)distance, whence) == 0;
    }
    case IS_SOURCE_MEMORY: {
        const int64_t end = r->writable ? r->high_water : r->memory_size;
        int64_t base = 0;
        if (origin == 1)
            base = r->position;
        else if (origin == 2)
            base = end;
        else if (origin != 0)
            return false;
        const int64_t target = base + distance;
        if (target < 0 || target >= (int64_t)r->memory_size)
            return false;
        r->position = (uint32_t)target;
        return true;
    }
    default:
        return false;
    }
}

int64_t CISIO::tell()
{
    ISSourceRecord* r = record_;
    switch (r->kind) {
    case IS_SOURCE_FILE_STREAM: return (int64_t)ftello(r->stream);
    case IS_SOURCE_MEMORY: return r->position;
    default: return -1;
    }
}

int64_t CISIO::size()
{
    ISSourceRecord* r = record_;
    switch (r->kind) {
    case IS_SOURCE_FILE_STREAM: {
        if (r->writable)
            std::fflush(r->stream);
        const off_t here = ftello(r->stream);
        if (here < 0 || fseeko(r->stream, 0, SEEK_END) != 0)
            return -1;
        const off_t end = ftello(r->stream);
        fseeko(r->stream, here, SEEK_SET);
        return (int64_t)end;
    }
    case IS_SOURCE_MEMORY: return r->memory_size;
    default: return -1;
    }
}

bool CISIO::at_end()
{
    ISSourceRecord* r = record_;
    switch (r->kind) {
    case IS_SOURCE_FILE_STREAM: return std::feof(r->stream) != 0;
    case IS_SOURCE_MEMORY: return r->position >= (r->writable ? r->high_water : r->memory_size);
    default: return true;
    }
}

int64_t CISIO::close()
{
    ISSourceRecord* r = record_;
    const int64_t reached = tell();
    if (r->kind == IS_SOURCE_FILE_STREAM && r->stream) {
        std::fclose(r->stream);
        r->stream = nullptr;
    }
    return reached < 0 ? 0 : reached;
}

const char* CISIO::name() const
{
    return record_->file_name;
}
