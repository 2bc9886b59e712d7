// The library frame: thread state, sources and their validation, the
// callback table, the buffer limit and the abort callback's call-depth rule.
#include "imageio/buffer.h"
#include "imageio/source.h"
#include "imageio/thread_state.h"
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

std::vector<uint8_t> small_bmp()
{
    bmp_recipe recipe;
    recipe.width = 2;
    recipe.height = 2;
    recipe.pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C};
    return make_bmp(recipe);
}

TEST(ThreadState, EachThreadHasItsOwnCreatedOnFirstUse)
{
    ISThreadState* mine = is_thread_state();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(is_thread_state(), mine);
    EXPECT_EQ(mine->png.display_gamma, 2.9);
    EXPECT_EQ(mine->metafile.width, 100);
    EXPECT_EQ(mine->metafile.height, 100);

    is_open_file_source("");  // leaves error 2 on this thread
    const uint32_t before = is_thread_state_count();
    ISThreadState* other = nullptr;
    int32_t other_error = -1;
    std::thread([&] {
        other_error = is_get_last_error();
        other = is_thread_state();
    }).join();
    EXPECT_EQ(other_error, 0);
    EXPECT_NE(other, mine);
    EXPECT_EQ(is_thread_state_count(), before + 1);
    EXPECT_EQ(is_get_last_error(), 2);

    is_set_read_option(3);
    is_set_jpeg_scale(1, 2);
    EXPECT_EQ(mine->jpeg.option, 3);
    EXPECT_EQ(mine->jpeg.scale_denom, 2);
    is_set_jpeg_scale(1, 1);
}

TEST(ThreadState, AnErrorHoldKeepsTheLastError)
{
    ISThreadState* state = is_thread_state();
    is_set_error(state, 9);
    ++state->error_hold_depth;
    is_set_error(state, 0);
    EXPECT_EQ(is_get_last_error(), 9);
    --state->error_hold_depth;
    is_set_error(state, 0);
    EXPECT_EQ(is_get_last_error(), 0);
}

TEST(FileSource, OpensReadsAndReportsThePositionAtClose)
{
    EXPECT_EQ(is_open_file_source(nullptr), nullptr);
    EXPECT_EQ(is_get_last_error(), 2);
    EXPECT_EQ(is_open_file_source(""), nullptr);
    EXPECT_EQ(is_get_last_error(), 2);
    EXPECT_EQ(is_open_file_source("/nonexistent/picture.bmp"), nullptr);
    EXPECT_EQ(is_get_last_error(), 2);

    temp_file file("picture.bmp", {'a', 'b', 'c', 'd', 'e', 'f'});
    ISSourceRecord* source = is_open_file_source(file.path());
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(is_get_last_error(), 0);
    EXPECT_STREQ(source->file_name, file.path());
    EXPECT_EQ(source->kind, 1);
    EXPECT_EQ(source->writable, 0);

    uint8_t bytes[4];
    EXPECT_EQ(is_read(source, bytes, 4), 4u);
    int64_t size = 0, position = 0;
    EXPECT_TRUE(is_get_size(source, &size));
    EXPECT_EQ(size, 6);
    EXPECT_TRUE(is_tell(source, &position));
    EXPECT_EQ(position, 4);
    EXPECT_FALSE(is_write(source, bytes, 1));
    EXPECT_EQ(is_get_last_error(), 5);
    EXPECT_TRUE(is_seek(source, -1, 2));
    EXPECT_EQ(is_read(source, bytes, 4), 1u);
    EXPECT_EQ(bytes[0], 'f');
    EXPECT_TRUE(is_at_end(source));
    EXPECT_TRUE(is_seek(source, 3, 0));
    EXPECT_EQ(is_close_source(source), 3);
    EXPECT_EQ(is_get_last_error(), 0);

    // The closed record is refused, never read.
    uint32_t width = 1, height = 1;
    EXPECT_EQ(is_read_generic_rgb24(source, &width, &height), nullptr);
    EXPECT_EQ(is_get_last_error(), 38);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(is_close_source(source), 0);
    EXPECT_EQ(is_get_last_error(), 38);
}

TEST(FileSource, OverLongNamesKeepTheirEnd)
{
    temp_file file(std::string(250, 'x') + ".bmp", {'B', 'M'});
    ASSERT_GT(std::strlen(file.path()), 259u);
    ISSourceRecord* source = is_open_file_source(file.path());
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(std::strlen(source->file_name), 259u);
    EXPECT_STREQ(source->file_name + 255, ".bmp");
    is_close_source(source);
}

TEST(MemorySource, SeeksStayInsideTheBlock)
{
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(is_open_memory_source(nullptr, 5), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);
    EXPECT_EQ(is_open_memory_source(data, 0), nullptr);
    ISSourceRecord* source = is_open_memory_source(data, sizeof data);
    ASSERT_NE(source, nullptr);
    uint8_t out[8] = {};
    EXPECT_TRUE(is_seek(source, 3, 0));
    EXPECT_EQ(is_read(source, out, 8), 2u);
    EXPECT_EQ(out[0], 4);
    EXPECT_TRUE(is_at_end(source));
    EXPECT_FALSE(is_seek(source, 5, 0));  // to or past the size
    EXPECT_FALSE(is_seek(source, -6, 2));
    EXPECT_TRUE(is_seek(source, -2, 1));
    int64_t position = 0;
    EXPECT_TRUE(is_tell(source, &position));
    EXPECT_EQ(position, 3);
    EXPECT_EQ(is_close_source(source), 3);
}

TEST(SourceValidation, DamagedRecordsAreRefusedByEveryEntryPoint)
{
    memory_source source(small_bmp());
    ISSourceRecord* record = source.get();
    uint32_t width = 0, height = 0;
    int32_t depth = 0;
    uint8_t palette[1024];
    auto expect_refused = [&](int32_t code) {
        EXPECT_EQ(is_read_generic_rgb24(record, &width, &height), nullptr);
        EXPECT_EQ(is_get_last_error(), code);
        EXPECT_EQ(is_read_generic_rgba32(record, &width, &height), nullptr);
        EXPECT_EQ(is_get_last_error(), code);
        EXPECT_EQ(is_read_generic(record, 0, &width, &height, &depth, palette), nullptr);
        EXPECT_EQ(is_get_last_error(), code);
        EXPECT_EQ(is_read_bmp(record, &width, &height, 24, nullptr, 0), nullptr);
        EXPECT_EQ(is_get_last_error(), code);
        EXPECT_EQ(is_read_pcd(record, &width, &height, 3, 0), nullptr);
        EXPECT_EQ(is_get_last_error(), code);
        EXPECT_EQ(is_guess_format(record), 0);
        EXPECT_EQ(is_get_last_error(), code);
        EXPECT_FALSE(is_seek(record, 0, 0));
        EXPECT_EQ(is_get_last_error(), code);
    };
    record->signature_1 = 0x07475591;
    expect_refused(38);
    record->signature_1 = is_source_signature_1;
    record->signature_2 = 0;
    expect_refused(38);
    record->signature_2 = is_source_signature_2;
    for (int32_t kind : {0, 6}) {
        record->kind = kind;
        expect_refused(38);
    }
    record->kind = IS_SOURCE_FILE_STREAM;  // without a stream
    expect_refused(38);
    record->kind = IS_SOURCE_MEMORY;

    ISSourceRecord copy = *record;  // a look-alike that the library never made
    record = &copy;
    expect_refused(38);
    record = nullptr;
    expect_refused(5);

    uint8_t* buffer = is_read_generic_rgb24(source.get(), &width, &height);
    EXPECT_NE(buffer, nullptr);
    is_global_free(buffer);
}

TEST(IoCallbacks, TableReadsThroughTheLibrary)
{
    is_io_callbacks* table = is_make_io_callbacks(77);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->table_size, sizeof(is_io_callbacks));
    EXPECT_EQ(table->caller_value, 77u);

    memory_source source(small_bmp());
    uint8_t head[2];
    EXPECT_EQ(table->read(source.get(), head, 2), 2u);
    EXPECT_EQ(std::memcmp(head, "BM", 2), 0);
    int64_t size = 0, position = 0;
    EXPECT_TRUE(table->get_size(source.get(), &size));
    EXPECT_TRUE(table->seek(source.get(), -4, 2));
    EXPECT_TRUE(table->tell(source.get(), &position));
    EXPECT_EQ(position, size - 4);
    EXPECT_FALSE(table->at_end(source.get()));
    EXPECT_FALSE(table->write(source.get(), head, 1));

    auto callback = [](int32_t, int32_t, void*) -> int32_t { return 1; };
    int user = 0;
    is_set_abort_callback(callback, &user);
    is_abort_fn got = nullptr;
    void* got_user = nullptr;
    table->get_abort_callback(&got, &got_user);
    EXPECT_EQ(got, (is_abort_fn)callback);
    EXPECT_EQ(got_user, &user);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_EQ(table->get_saved_callback_block(), is_thread_state()->saved_callback_block);
    table->set_last_error(41);
    EXPECT_EQ(is_get_last_error(), 41);
    is_global_free(table);
}

TEST(Buffers, SizesAreCheckedAgainstTheLimitWithoutOverflow)
{
    uint64_t size = 0;
    EXPECT_TRUE(is_buffer_size(46339, 46339, &size));
    EXPECT_EQ(size, 2147302921u);
    EXPECT_FALSE(is_buffer_size(46340, 46340, &size));
    EXPECT_FALSE(is_buffer_size(1, 2147348479, &size));
    EXPECT_TRUE(is_buffer_size(1, 2147348478, &size));
    EXPECT_FALSE(is_buffer_size(0xFFFFFFFFull, 0xFFFFFFFFull, 4, &size));
    EXPECT_FALSE(is_buffer_size(1ull << 32, 1ull << 32, 1, &size));
    EXPECT_EQ(is_alloc_buffer(is_max_buffer_bytes + 1), nullptr);

    uint8_t* zero = is_alloc_buffer(0);
    EXPECT_NE(zero, nullptr);
    is_free_buffer(zero);
    uint8_t* block = is_alloc_buffer(64);
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(block[i], 0);
    is_free_buffer(block);

    is_set_buffer_limit(100);
    EXPECT_FALSE(is_buffer_size(101, 1, &size));
    is_set_buffer_limit(0);
    EXPECT_EQ(is_buffer_limit(), is_max_buffer_bytes);
}

// The outer generic read consults the callback; a read started from inside
// the callback (call depth 2) does not.
struct nested_abort {
    std::vector<uint8_t> file;
    int calls = 0;
    bool inner_read_ok = false;
    bool block_cleared = false;

    static int32_t callback(int32_t, int32_t, void* user)
    {
        auto* self = static_cast<nested_abort*>(user);
        ++self->calls;
        const uint8_t* block = is_thread_state()->saved_callback_block;
        self->block_cleared = block[0] == 0 && block[15] == 0;
        memory_source inner(self->file);
        uint32_t width = 0, height = 0;
        uint8_t* buffer = is_read_generic_rgb24(inner.get(), &width, &height);
        self->inner_read_ok = buffer != nullptr && width == 2;
        is_global_free(buffer);
        return 0;
    }
};

TEST(AbortCallback, CancelsTheOutermostReadOnlyAndTheSavedBlockIsParked)
{
    nested_abort probe;
    probe.file = small_bmp();
    uint8_t* block = is_thread_state()->saved_callback_block;
    std::memset(block, 0x5A, is_saved_callback_block_size);
    is_set_abort_callback(nested_abort::callback, &probe);
    read_result r = read_generic(probe.file, 24);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
    EXPECT_EQ(r.width, 0u);
    EXPECT_EQ(probe.calls, 1);
    EXPECT_TRUE(probe.inner_read_ok);
    EXPECT_TRUE(probe.block_cleared);
    EXPECT_EQ(block[0], 0x5A);
    EXPECT_EQ(block[15], 0x5A);
    EXPECT_EQ(is_thread_state()->call_depth, 0);
}

TEST(ErrorText, EveryCodeHasAReason)
{
    for (int32_t code = -1; code < 70; ++code)
        EXPECT_NE(is_error_text(code), nullptr);
    EXPECT_STREQ(is_error_text(6), "not a valid BMP file");
}

}  // namespace
