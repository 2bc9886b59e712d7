#include "loader/open_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Splits a filter text at its NULs; the closing double NUL gives one empty
// piece at the end.
std::vector<std::string> pieces(const std::string& filter)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i < filter.size(); ++i) {
        if (filter[i] == '\0') {
            out.push_back(filter.substr(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

TEST(OpenFilter, EntriesInOrderThenAllFormats)
{
    const format_row rows[] = {
        {"JPEG Files", "*.jpg;*.jpeg"},
        {"PNG Files", "*.png"},
        {"Metafiles", "*.wmf;*.emf"},
    };
    const std::string filter = build_open_filter(rows, 3);
    ASSERT_GE(filter.size(), 2u);
    EXPECT_EQ(filter.substr(filter.size() - 2), std::string(2, '\0'));
    const std::vector<std::string> expected = {
        "JPEG Files (*.jpg;*.jpeg)", "*.jpg;*.jpeg", "PNG Files (*.png)", "*.png",
        "Metafiles (*.wmf;*.emf)",   "*.wmf;*.emf",  "All Formats",       "*.jpg;*.jpeg;*.png;*.wmf;*.emf",
        "",
    };
    EXPECT_EQ(pieces(filter), expected);
    // "All Formats" is the entry after the rows, counted from 1.
    EXPECT_EQ(all_formats_index(3), 4u);
}

TEST(OpenFilter, NoRowsStillEndsTheText)
{
    const std::string filter = build_open_filter(nullptr, 0);
    EXPECT_EQ(filter, std::string("All Formats\0\0\0", 14));
}

TEST(OpenFilter, AllFormatsOfTheProgramListsEveryPatternInTableOrder)
{
    const std::vector<std::string> entries = pieces(build_open_filter(format_table, format_table_rows));
    ASSERT_EQ(entries.size(), 2u * format_table_rows + 3);
    std::string all;
    for (int i = 0; i < format_table_rows; ++i)
        all += (i ? ";" : "") + std::string(format_table[i].patterns);
    EXPECT_EQ(entries[2 * format_table_rows], "All Formats");
    EXPECT_EQ(entries[2 * format_table_rows + 1], all);
    EXPECT_EQ(entries[0], "JPEG Files (*.jpg;*.jpe;*.jif;*.jpeg;*.jfif)");
}

}  // namespace
