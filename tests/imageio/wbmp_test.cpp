// WBMP reads: both depths, multi-byte sizes, the generic read and damaged
// files.
#include "imageio/readers/wbmp.h"
#include "tests/imageio/reads.h"
#include "tests/writers/wbmp_writer.h"

#include <gtest/gtest.h>

namespace {

read_result read_wbmp(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0)
{
    return read_format(is_read_wbmp, file, depth, flags);
}

const std::vector<uint8_t> ten_by_two = {1, 0, 1, 1, 0, 0, 0, 0, 1, 1,
                                         0, 1, 0, 0, 0, 0, 0, 0, 0, 1};

TEST(WbmpRead, BitsBecomeBytesAtDepthEightAndStayPackedAtOne)
{
    read_result r = read_wbmp(make_wbmp(10, 2, ten_by_two), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.width, 10u);
    EXPECT_EQ(r.height, 2u);
    EXPECT_EQ(r.pixels, ten_by_two);
    EXPECT_EQ(std::vector<uint8_t>(r.palette.begin(), r.palette.begin() + 12),
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0}));

    r = read_wbmp(make_wbmp(10, 2, ten_by_two), 1);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0xB0, 0xC0, 0x40, 0x40}));
    EXPECT_EQ(r.palette[8], 0xCD);  // a 1-bit read fills two entries only
}

TEST(WbmpRead, SizesOfSeveralBytes)
{
    std::vector<uint8_t> pixels(200 * 3, 0);
    pixels[199] = pixels[200] = 1;
    const std::vector<uint8_t> file = make_wbmp(200, 3, pixels);
    EXPECT_EQ(file[2], 0x81);
    EXPECT_EQ(file[3], 0x48);
    read_result r = read_wbmp(file, 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.width, 200u);
    EXPECT_EQ(r.pixels, pixels);
}

TEST(WbmpRead, DamagedFiles)
{
    auto error_of = [](const std::vector<uint8_t>& file, int32_t depth = 8) {
        read_result r = read_wbmp(file, depth);
        EXPECT_FALSE(r.has_buffer);
        return r.error;
    };
    std::vector<uint8_t> file = make_wbmp(8, 1, {1});
    file[0] = 1;
    EXPECT_EQ(error_of(file), 53);
    file = make_wbmp(8, 1, {1});
    file[1] = 0x80;
    EXPECT_EQ(error_of(file), 53);
    EXPECT_EQ(error_of({0, 0, 0, 5}), 53);
    EXPECT_EQ(error_of({0, 0, 5, 0}), 53);

    // Sizes beyond 32 bits are refused rather than wrapped.
    file = {0, 0};
    for (uint64_t v : {(uint64_t)1 << 32, (uint64_t)1}) {
        const std::vector<uint8_t> n = wbmp_number(v);
        file.insert(file.end(), n.begin(), n.end());
    }
    file.push_back(0);
    EXPECT_EQ(error_of(file), 53);
    // The largest 32-bit sizes pass the header and fail for memory.
    file = {0, 0};
    for (uint64_t v : {(uint64_t)0xFFFFFFFF, (uint64_t)0xFFFFFFFF}) {
        const std::vector<uint8_t> n = wbmp_number(v);
        file.insert(file.end(), n.begin(), n.end());
    }
    EXPECT_EQ(error_of(file, 1), 1);

    EXPECT_EQ(error_of({0}), 3);
    EXPECT_EQ(error_of({0, 0, 0x81}), 3);
    file = make_wbmp(10, 2, ten_by_two);
    file.pop_back();
    EXPECT_EQ(error_of(file, 1), 3);
    EXPECT_EQ(error_of(file, 8), 3);

    EXPECT_EQ(error_of(make_wbmp(1, 1, {1}), 24), 5);
    EXPECT_EQ(read_format(is_read_wbmp, make_wbmp(1, 1, {1}), 8, 0, false).error, 5);
}

TEST(WbmpRead, TheAbortCallbackAndPackedBitmaps)
{
    abort_at at{0};
    is_set_abort_callback(abort_at_step, &at);
    read_result r = read_wbmp(make_wbmp(10, 2, ten_by_two), 8);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_EQ(r.error, 14);
    EXPECT_EQ(at.calls, 1);

    r = read_wbmp(make_wbmp(10, 2, ten_by_two), 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    ASSERT_EQ(r.pixels.size(), 48u + 8);
    EXPECT_EQ(r.pixels[14], 1);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin() + 40, r.pixels.end()),
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 255, 0x40, 0x40, 0, 0, 0xB0, 0xC0, 0, 0}));
}

TEST(WbmpRead, TheGenericReadExpandsThroughTheBlackAndWhitePalette)
{
    // Detection looks for a TGA footer in the last 18 bytes, so the file is
    // made longer than that.
    std::vector<uint8_t> pixels(3 * 16, 0);
    pixels[0] = pixels[2] = 1;
    const std::vector<uint8_t> file = make_wbmp(3, 16, pixels);
    trace_capture trace;
    read_result r = read_generic(file, 0);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.depth, 8);
    EXPECT_EQ(r.pixels, pixels);
    EXPECT_TRUE(trace.contains("Reading generic as WBMP8\n"));
    r = read_generic(file, 24);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin(), r.pixels.begin() + 12),
              (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0}));
    r = read_generic(file, 32);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin(), r.pixels.begin() + 8),
              (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 0, 255}));
    EXPECT_EQ(read_generic(file, 1).error, 17);
}

}  // namespace
