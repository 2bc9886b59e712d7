// Without GDI the library refuses metafiles cleanly, by name and in the
// generic read.
#include "tests/imageio/reads.h"

#include <gtest/gtest.h>

TEST(Metafile, NativeBuildRefusesToRender)
{
    const std::vector<uint8_t> wmf = {1, 0, 9, 0, 0, 3, 0, 0, 0, 0};
    temp_file named("p.wmf", wmf);
    uint32_t width = 5, height = 5;
    EXPECT_EQ(is_render_metafile(named.path(), &width, &height, 100, 100, 0, 0), nullptr);
    EXPECT_EQ(is_get_last_error(), 17);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
    EXPECT_EQ(is_render_metafile(nullptr, &width, &height, 100, 100, 0, 0), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);

    for (int32_t depth : {0, 8, 24, 32}) {
        ISSourceRecord* source = is_open_file_source(named.path());
        read_result r = read_generic(source, depth);
        EXPECT_FALSE(r.has_buffer);
        EXPECT_EQ(r.error, 17) << depth;
        is_close_source(source);
    }
}
