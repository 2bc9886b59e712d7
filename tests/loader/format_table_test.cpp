// The Open dialog's format list and the extension gate.
#include "loader/format_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ExtensionAccepted, EveryPatternOfTheTableIsAccepted)
{
    // The first and last piece of each list must both be found.
    for (const format_row& row : format_table) {
        const std::string patterns = row.patterns;
        size_t start = 0;
        while (start < patterns.size()) {
            size_t end = patterns.find(';', start);
            if (end == std::string::npos)
                end = patterns.size();
            const std::string name = "picture" + patterns.substr(start + 1, end - start - 1);
            EXPECT_TRUE(extension_accepted(name.c_str())) << name;
            start = end + 1;
        }
    }
}

TEST(ExtensionAccepted, CaseAndLastDotDecide)
{
    EXPECT_TRUE(extension_accepted("HOLIDAY.JPG"));
    EXPECT_TRUE(extension_accepted("scan.Tiff"));
    EXPECT_TRUE(extension_accepted("archive.txt.png"));
    EXPECT_FALSE(extension_accepted("photo.jpeg2"));
    EXPECT_FALSE(extension_accepted("photo.jp"));
    EXPECT_FALSE(extension_accepted("photo.png.txt"));
    EXPECT_FALSE(extension_accepted("notes.txt"));
    // Separators and wildcards of the pattern lists are never part of a match.
    EXPECT_FALSE(extension_accepted("photo.jpg;"));
    EXPECT_FALSE(extension_accepted("photo.*"));
    EXPECT_FALSE(extension_accepted("photo."));
    EXPECT_FALSE(extension_accepted(("photo.jpg" + std::string(400, 'g')).c_str()));
    EXPECT_FALSE(extension_accepted(nullptr));
}

TEST(ExtensionAccepted, NoExtensionPassesAndFoldersDoNotCount)
{
    EXPECT_TRUE(extension_accepted("README"));
    EXPECT_TRUE(extension_accepted("/home/user/pictures.v2/README"));
    EXPECT_TRUE(extension_accepted("C:\\Pictures.old\\scan"));
    EXPECT_TRUE(extension_accepted("C:\\Pictures.old\\scan.bmp"));
    EXPECT_FALSE(extension_accepted("C:/pictures.bmp/notes.doc"));
    EXPECT_TRUE(extension_accepted("/tmp/.bmp"));
}

}  // namespace
