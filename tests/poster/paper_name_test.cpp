#include "poster/paper_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<char> slots(std::initializer_list<const char*> names)
{
    std::vector<char> block(names.size() * paper_name_slot, '\0');
    size_t i = 0;
    for (const char* name : names)
        std::memcpy(block.data() + paper_name_slot * i++, name, std::strlen(name));
    return block;
}

TEST(PaperName, FirstIndexWithTheCodeWins)
{
    const auto names = slots({"Letter", "A4", "A4 Small", "A3"});
    const uint16_t codes[] = {1, 9, 9, 8};
    EXPECT_EQ(paper_name_for_code(names.data(), 4, codes, 4, 9), "A4");
    EXPECT_EQ(paper_name_for_code(names.data(), 4, codes, 4, 8), "A3");
    EXPECT_EQ(paper_name_for_code(names.data(), 4, codes, 4, 70), "");
    EXPECT_EQ(paper_name_for_code(names.data(), 0, codes, 0, 1), "");
}

TEST(PaperName, ANameFillingItsSlotIsCutAndUnevenListsAreBounded)
{
    std::vector<char> names(2 * paper_name_slot, 'x');
    names[paper_name_slot] = 'B';
    names[paper_name_slot + 1] = '\0';
    const uint16_t codes[] = {5, 6, 7};
    EXPECT_EQ(paper_name_for_code(names.data(), 2, codes, 3, 5), std::string(paper_name_slot - 1, 'x'));
    EXPECT_EQ(paper_name_for_code(names.data(), 2, codes, 3, 6), "B");
    // A code whose index has no name slot is no match.
    EXPECT_EQ(paper_name_for_code(names.data(), 2, codes, 3, 7), "");
}

}  // namespace
