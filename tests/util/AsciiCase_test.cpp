#include "util/AsciiCase.h"

#include <gtest/gtest.h>

namespace {

TEST(AsciiCase, LowerCasesOnlyAsciiLetters)
{
    EXPECT_EQ("dutch (belgian) \xC4", lowerAscii("DUTCH (Belgian) \xC4"));
    EXPECT_EQ("", lowerAscii(nullptr));
    char text[] = "C:\\Program Files\\JRE1.3 \xC4";
    lowerAsciiInPlace(text);
    EXPECT_STREQ("c:\\program files\\jre1.3 \xC4", text);
}

TEST(AsciiCase, EqualityIgnoresOnlyAsciiCase)
{
    EXPECT_TRUE(equalsAsciiNoCase("${User.Home}", "${user.home}"));
    EXPECT_FALSE(equalsAsciiNoCase("abc", "abcd"));
    EXPECT_FALSE(equalsAsciiNoCase("\xC4", "\xE4"));  // not an ASCII letter
    EXPECT_TRUE(equalsAsciiNoCase("", ""));
}

} // namespace
