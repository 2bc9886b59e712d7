#include "app/help/help_url.h"

#include <gtest/gtest.h>

TEST(HelpPageUrl, JoinsTheStartFolderAndTurnsBackslashesIntoSlashes)
{
    EXPECT_EQ(help_page_url("C:\\Apps\\Poster", "help\\introduction.htm"),
              "file://C:/Apps/Poster/help/introduction.htm");
    // A folder that ends with a separator (a drive's root) gets no second one.
    EXPECT_EQ(help_page_url("C:\\", "help\\page_setup_dialog.htm"), "file://C:/help/page_setup_dialog.htm");
    EXPECT_EQ(help_page_url("Z:\\tmp\\my posters", "help\\introduction.htm"),
              "file://Z:/tmp/my posters/help/introduction.htm");
}
