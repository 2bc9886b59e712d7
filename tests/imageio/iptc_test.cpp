// Image resource blocks: the walk for "8BIM", names and sizes padded to
// even, wanted IDs, and blocks that claim more than the buffer holds.
#include "tests/writers/psd_writer.h"
#include "tests/imageio/test_support.h"

#include "imageio/readers/iptc.h"

#include <gtest/gtest.h>

namespace {

using bytes = std::vector<uint8_t>;

bytes join(std::initializer_list<bytes> parts)
{
    bytes out;
    for (const bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(ImageResources, BlocksWithOddNamesAndSizesBetweenOtherBytes)
{
    const bytes buffer = join({{0xAA, 0xBB, 0xCC}, image_resource_block(1028, "ab", {1, 2, 3}),
                               image_resource_block(1005, "", {4, 5}), {'8', 'B'}});
    std::vector<image_resource> found;
    ASSERT_TRUE(parse_image_resources(buffer.data(), (uint32_t)buffer.size(), &found));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].id, 1028);
    EXPECT_EQ(found[0].name, "ab");
    EXPECT_EQ(found[0].data, (bytes{1, 2, 3}));
    EXPECT_EQ(found[1].id, 1005);
    EXPECT_EQ(found[1].data, (bytes{4, 5}));

    std::vector<image_resource> only;
    const std::vector<uint16_t> wanted = {1005};
    ASSERT_TRUE(parse_image_resources(buffer.data(), (uint32_t)buffer.size(), &only, &wanted));
    ASSERT_EQ(only.size(), 1u);
    EXPECT_EQ(only[0].id, 1005);
}

TEST(ImageResources, ABlockRunningPastTheEndIsTracedAndEndsTheParse)
{
    bytes last = image_resource_block(1028, "", bytes(10, 7));
    last.resize(last.size() - 4);
    const bytes buffer = join({image_resource_block(1000, "", {1, 1}), last});
    trace_capture trace;
    std::vector<image_resource> found;
    EXPECT_FALSE(parse_image_resources(buffer.data(), (uint32_t)buffer.size(), &found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, 1000);
    EXPECT_TRUE(trace.contains("Found bad IPTC data resource (len exceeds block end). ID=1028\n"));

    // A size near 4 GB does not wrap around.
    bytes huge = image_resource_block(7, "", {});
    huge[8] = huge[9] = huge[10] = huge[11] = 0xFF;
    found.clear();
    EXPECT_FALSE(parse_image_resources(huge.data(), (uint32_t)huge.size(), &found));
    EXPECT_TRUE(found.empty());
    // A block cut inside its header.
    EXPECT_FALSE(parse_image_resources(huge.data(), 7, &found));
}

TEST(ImageResources, SearchAndNumberReadersStopAtTheEnd)
{
    const bytes buffer = {0, '8', 'B', 'I', 'M', 0x12, 0x34, 0x56};
    uint32_t cursor = 0;
    ASSERT_TRUE(iptc_find_block(buffer.data(), (uint32_t)buffer.size(), &cursor));
    EXPECT_EQ(cursor, 1u);
    EXPECT_FALSE(iptc_find_block(buffer.data(), 3, &cursor));

    cursor = 5;
    uint16_t v16 = 0;
    uint32_t v32 = 0;
    EXPECT_TRUE(iptc_read_be16(buffer.data(), (uint32_t)buffer.size(), &cursor, &v16));
    EXPECT_EQ(v16, 0x1234);
    EXPECT_FALSE(iptc_read_be32(buffer.data(), (uint32_t)buffer.size(), &cursor, &v32));
    EXPECT_EQ(cursor, 7u);
}

}  // namespace
