// The callback table through which modules outside the library read sources.
#include "imageio/platform.h"
#include "imageio/thread_state.h"

namespace {

void get_abort_callback(is_abort_fn* callback, void** user)
{
    ISThreadState* state = is_thread_state();
    if (callback)
        *callback = state ? state->abort_callback : nullptr;
    if (user)
        *user = state ? state->callback_user : nullptr;
}

uint8_t* get_saved_callback_block()
{
    ISThreadState* state = is_thread_state();
    return state ? state->saved_callback_block : nullptr;
}

void set_last_error(int32_t code)
{
    is_set_error(is_thread_state(), code);
}

}  // namespace

is_io_callbacks* is_make_io_callbacks(uintptr_t caller_value)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return nullptr;
    auto* table = static_cast<is_io_callbacks*>(is_global_alloc(sizeof(is_io_callbacks)));
    if (!table) {
        is_set_error(state, IS_ERR_NO_MEMORY);
        return nullptr;
    }
    table->table_size = sizeof(is_io_callbacks);
    table->caller_value = caller_value;
    table->read = is_read;
    table->write = is_write;
    table->seek = is_seek;
    table->tell = is_tell;
    table->get_size = is_get_size;
    table->at_end = is_at_end;
    table->get_abort_callback = get_abort_callback;
    table->get_saved_callback_block = get_saved_callback_block;
    table->set_last_error = set_last_error;
    is_set_error(state, IS_OK);
    return table;
}
