#include "imageio/thread_state.h"

#include "imageio/exception.h"
#include "imageio/platform.h"

#include <new>

namespace {

// Every thread state ever created, so that all can be freed at shutdown.
class ISThreadRegistry {
public:
    ~ISThreadRegistry() { shutdown(); }

    void add(ISThreadState* state)
    {
        registry_lock();
        states_.push_back(state);
        registry_unlock();
    }

    uint32_t count()
    {
        registry_lock();
        const uint32_t n = (uint32_t)states_.size();
        registry_unlock();
        return n;
    }

    void shutdown()
    {
        if (down_)
            return;
        down_ = true;
        thread_slot_release();
        registry_lock();
        for (ISThreadState* state : states_)
            delete state;
        states_.clear();
        registry_unlock();
        registry_lock_destroy();
    }

private:
    std::vector<ISThreadState*> states_;
    bool down_ = false;
};

ISThreadRegistry& registry()
{
    static ISThreadRegistry instance;
    return instance;
}

ISThreadState* create_state()
{
    auto* state = new ISThreadState;
    uint32_t os_error = 0;
    if (!thread_slot_set(state, &os_error)) {
        delete state;
        throw TlsException(os_error);
    }
    registry().add(state);
    return state;
}

}  // namespace

ISThreadState* is_thread_state()
{
    if (!thread_slot_ready())
        return nullptr;
    if (auto* state = static_cast<ISThreadState*>(thread_slot_get()))
        return state;
    try {
        return create_state();
    } catch (...) {
        return nullptr;
    }
}

void is_set_error(ISThreadState* state, int32_t code)
{
    if (state && state->error_hold_depth <= 0)
        state->last_error = code;
}

uint32_t is_thread_state_count()
{
    return registry().count();
}

void is_thread_registry_shutdown()
{
    registry().shutdown();
}

int32_t is_get_last_error()
{
    ISThreadState* state = is_thread_state();
    return state ? state->last_error : IS_ERR_NO_THREAD_STATE;
}

uint64_t is_get_refused_buffer_bytes()
{
    const ISThreadState* state = is_thread_state();
    return state ? state->refused_buffer_bytes : 0;
}

void is_set_read_option(int32_t value)
{
    if (ISThreadState* state = is_thread_state()) {
        state->jpeg.option = value;
        is_set_error(state, IS_OK);
    }
}

void is_set_jpeg_scale(int32_t numerator, int32_t denominator)
{
    if (ISThreadState* state = is_thread_state()) {
        state->jpeg.scale_num = numerator;
        state->jpeg.scale_denom = denominator;
        is_set_error(state, IS_OK);
    }
}

void is_set_abort_callback(is_abort_fn callback, void* user)
{
    if (ISThreadState* state = is_thread_state()) {
        state->abort_callback = callback;
        state->callback_user = user;
        is_set_error(state, IS_OK);
    }
}
