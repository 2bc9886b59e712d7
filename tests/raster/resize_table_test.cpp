#include "raster/resize_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster/raster_image.h"
#include "raster/resize.h"

namespace {

struct ResizeTableTest : ::testing::Test {
    void SetUp() override { kit_init(); }
};

std::vector<int32_t> offsets_of(const resize_entry& entry)
{
    std::vector<int32_t> offsets;
    for (int32_t k = 0; k < entry.count; ++k)
        offsets.push_back(entry.pairs[k].offset);
    return offsets;
}

TEST(Lanczos3, IsAWindowedSincWithASupportOfThree)
{
    EXPECT_EQ(lanczos3(0.0), 1.0);
    EXPECT_EQ(lanczos3(3.0), 0.0);
    EXPECT_EQ(lanczos3(-7.5), 0.0);
    EXPECT_NEAR(lanczos3(1.0), 0.0, 1e-15);
    EXPECT_NEAR(lanczos3(0.5), (2 / M_PI) * std::sin(M_PI / 6) / (M_PI / 6), 1e-15);
    EXPECT_EQ(lanczos3(-1.7), lanczos3(1.7));
    EXPECT_LT(lanczos3(1.5), 0.0);  // the negative lobe that makes edges ring
}

TEST_F(ResizeTableTest, EveryListSumsToOneAndReadsInsideTheSource)
{
    // Tiny sources, enlargements, reductions, equal sizes, and 118 -> 12, where
    // rounding gives a list one pair more than its room.
    const int32_t sizes[][2] = {{1, 1}, {1, 9}, {2, 1}, {2, 7}, {3, 3}, {3, 20}, {5, 2},
                                {118, 12}, {177, 18}, {100, 25}, {640, 37}, {37, 640}, {1000, 1}};
    for (const auto& size : sizes) {
        for (const int32_t bytes : {1, 3}) {
            resize_table table;
            ASSERT_TRUE(resize_table_build(&table, size[0], size[1], lanczos3, 3.0, bytes));
            ASSERT_EQ(table.length, size[1]);
            for (int32_t i = 0; i < table.length; ++i) {
                const resize_entry& entry = table.entries[i];
                ASSERT_LE(entry.count, table.room + 1);
                if (i + 1 < table.length) {
                    EXPECT_LE(entry.pairs + entry.count, table.entries[i + 1].pairs) << "lists overlap";
                }
                int32_t sum = 0;
                for (int32_t k = 0; k < entry.count; ++k) {
                    sum += entry.pairs[k].weight;
                    EXPECT_EQ(entry.pairs[k].offset % bytes, 0);
                    EXPECT_GE(entry.pairs[k].offset, 0);
                    EXPECT_LT(entry.pairs[k].offset, size[0] * bytes);
                }
                EXPECT_EQ(sum, 65536) << size[0] << " -> " << size[1] << " list " << i;
            }
        }
    }
}

TEST_F(ResizeTableTest, ListsHaveRoomForTheWidthOfTheFilter)
{
    resize_table quarter;
    ASSERT_TRUE(resize_table_build(&quarter, 400, 100, lanczos3, 3.0, 3));
    EXPECT_EQ(quarter.room, 25);
    int32_t longest = 0;
    for (int32_t i = 0; i < quarter.length; ++i)
        longest = std::max(longest, quarter.entries[i].count);
    EXPECT_EQ(longest, 25);

    resize_table enlarge;
    ASSERT_TRUE(resize_table_build(&enlarge, 10, 33, lanczos3, 3.0, 1));
    EXPECT_EQ(enlarge.room, 7);

    resize_table rounded;
    ASSERT_TRUE(resize_table_build(&rounded, 118, 12, lanczos3, 3.0, 1));
    EXPECT_EQ(rounded.entries[9].count, rounded.room + 1);
}

TEST_F(ResizeTableTest, EqualSizesKeepOnlyThePixelItself)
{
    resize_table table;
    ASSERT_TRUE(resize_table_build(&table, 9, 9, lanczos3, 3.0, 3));
    for (int32_t i = 0; i < 9; ++i) {
        const resize_entry& entry = table.entries[i];
        ASSERT_EQ(entry.count, 7);
        for (int32_t k = 0; k < entry.count; ++k) {
            if (k == 3) {
                EXPECT_EQ(entry.pairs[k].weight, 65536);
                EXPECT_EQ(entry.pairs[k].offset, i * 3);
            } else {
                EXPECT_EQ(entry.pairs[k].weight, 0);
            }
        }
    }
}

TEST_F(ResizeTableTest, EdgesAreMirroredRepeatingOnlyTheRightEdgePixel)
{
    resize_table table;
    ASSERT_TRUE(resize_table_build(&table, 10, 10, lanczos3, 3.0, 3));
    EXPECT_EQ(offsets_of(table.entries[0]), (std::vector<int32_t>{9, 6, 3, 0, 3, 6, 9}));
    EXPECT_EQ(offsets_of(table.entries[9]), (std::vector<int32_t>{18, 21, 24, 27, 27, 24, 21}));

    // A source narrower than the filter reads the pixel under the centre.
    resize_table tiny;
    ASSERT_TRUE(resize_table_build(&tiny, 2, 4, lanczos3, 3.0, 1));
    EXPECT_EQ(offsets_of(tiny.entries[0]), (std::vector<int32_t>{0, 0, 1, 0, 1, 1, 0}));
}

TEST_F(ResizeTableTest, RefusesEmptyLengthsAndOffsetsBeyondThirtyTwoBits)
{
    resize_table table;
    EXPECT_FALSE(resize_table_build(&table, 0, 5, lanczos3, 3.0, 1));
    EXPECT_FALSE(resize_table_build(&table, 5, 0, lanczos3, 3.0, 1));
    EXPECT_FALSE(resize_table_build(&table, 1 << 30, 5, lanczos3, 3.0, 3));
    EXPECT_EQ(table.entries, nullptr);
}

}  // namespace
