// The frame every reader runs in: the source view, the thread state and the
// reader's own error field, plus the entry-point wrapper that validates the
// source, keeps the call depth and copies the error to the thread.
#pragma once
#include <cstdint>
#include <new>

#include "imageio/buffer.h"
#include "imageio/exception.h"
#include "imageio/source.h"
#include "imageio/thread_state.h"

// A failed step's result: a null buffer, held or bare.
struct read_failure {
    operator uint8_t*() const { return nullptr; }
    operator owned_buffer() const { return owned_buffer(); }
};

struct read_context {
    CISIO io;
    ISThreadState* state;
    int32_t error = IS_OK;

    // Asks the abort callback, when this read is the outermost library call
    // on its thread; true (with error 14 set) when it says stop.
    bool cancelled(uint32_t step, uint32_t total);
    // Sets the error and returns null, for one-line failure returns.
    read_failure fail(int32_t code)
    {
        error = code;
        return {};
    }
};

// Counts an entry point that runs a reader for as long as it runs.
class call_depth_guard {
public:
    explicit call_depth_guard(ISThreadState* state) : state_(state) { ++state_->call_depth; }
    ~call_depth_guard() { --state_->call_depth; }
    call_depth_guard(const call_depth_guard&) = delete;
    call_depth_guard& operator=(const call_depth_guard&) = delete;

private:
    ISThreadState* state_;
};

// 0 for a usable source, 5 for null, 38 for a record that is not valid.
int32_t source_error(const ISSourceRecord* source);

// The body of an entry point whose arguments are checked: the call depth
// counted, exceptions turned into error codes, width and height cleared when
// there is no buffer, and the reader's error made the thread's last error.
template <class Read>
uint8_t* run_checked_entry(ISThreadState* state, ISSourceRecord* source, uint32_t* width, uint32_t* height,
                           Read&& read)
{
    call_depth_guard depth(state);
    read_context context{CISIO(source), state};
    uint8_t* buffer = nullptr;
    try {
        buffer = read(context);
    } catch (const ISException& e) {
        context.error = e.code();
    } catch (const std::bad_alloc&) {
        context.error = IS_ERR_NO_MEMORY;
    }
    if (!buffer) {
        *width = 0;
        *height = 0;
    }
    is_set_error(state, context.error);
    return buffer;
}

// Runs read(context) as an entry point: thread state first (none: null, with
// nothing done), then width and height cleared, the source checked, and the
// rest as run_checked_entry.
template <class Read>
uint8_t* run_read_entry(ISSourceRecord* source, uint32_t* width, uint32_t* height, Read&& read)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    if (state->call_depth == 0)
        state->refused_buffer_bytes = 0;
    int32_t error = (width && height) ? source_error(source) : IS_ERR_BAD_ARGUMENT;
    if (error != IS_OK) {
        is_set_error(state, error);
        return nullptr;
    }
    return run_checked_entry(state, source, width, height, static_cast<Read&&>(read));
}
