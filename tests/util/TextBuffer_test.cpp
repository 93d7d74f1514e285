#include <cstring>

#include <gtest/gtest.h>
#include "util/TextBuffer.h"

TEST(TextBuffer, CopiesAreCutToTheCapacityAndReportTheCut)
{
    char buffer[6];
    std::memset(buffer, 0xbd, sizeof buffer);
    EXPECT_TRUE(copyText(buffer, 5, "abcd"));
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ('\xbd', buffer[5]);
    EXPECT_FALSE(copyText(buffer, 5, "abcdef"));
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ('\xbd', buffer[5]);
    EXPECT_FALSE(appendText(buffer, 5, "x"));
    EXPECT_TRUE(copyText(buffer, 5, "ab"));
    EXPECT_TRUE(appendText(buffer, 5, "cd"));
    EXPECT_STREQ("abcd", buffer);
    EXPECT_FALSE(formatText(buffer, 5, "%s-%d", "ab", 123));
    EXPECT_STREQ("ab-1", buffer);

    TextBuffer text(4);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(text.set("toolong"));
    EXPECT_STREQ("too", text.c_str());
}
