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
    // A cut inside a UTF-8 character leaves it out whole ("é" is C3 A9).
    EXPECT_FALSE(copyText(buffer, 5, "abc\xC3\xA9"));
    EXPECT_STREQ("abc", buffer);
    EXPECT_FALSE(formatText(buffer, 5, "%s\xC3\xA9x", "ab"));
    EXPECT_STREQ("ab\xC3\xA9", buffer);
    EXPECT_FALSE(formatText(buffer, 5, "a%s", "b\xE2\x82\xAC"));
    EXPECT_STREQ("ab", buffer);

    TextBuffer text(4);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(text.set("toolong"));
    EXPECT_STREQ("too", text.c_str());
    EXPECT_FALSE(text.empty());
    text.clear();
    EXPECT_TRUE(text.empty());
    EXPECT_STREQ("", text.c_str());
    EXPECT_TRUE(text.append("ab"));
    EXPECT_STREQ("ab", text.c_str());
    EXPECT_FALSE(text.format("%s=%d", "key", 42));
    EXPECT_STREQ("key", text.c_str());
    TextBuffer room(8);
    EXPECT_TRUE(room.format("%s=%d", "key", 42));
    EXPECT_STREQ("key=42", room.c_str());

    // A buffer of one byte holds only the end of the text.
    char one[2] = {'\xbd', '\xbd'};
    EXPECT_FALSE(copyText(one, 1, "a"));
    EXPECT_EQ('\0', one[0]);
    EXPECT_EQ('\xbd', one[1]);
    EXPECT_TRUE(copyText(one, 1, ""));
    EXPECT_FALSE(appendText(one, 1, "a"));
    EXPECT_EQ('\xbd', one[1]);
    TextBuffer single(1);
    EXPECT_FALSE(single.set("a"));
    EXPECT_TRUE(single.empty());
    EXPECT_EQ(1u, TextBuffer(0).capacity());
}

// No room, no text or no buffer: an empty source always fits, nothing is written where there
// is no room, and a format that cannot be written or fails leaves false (and an empty text).
TEST(TextBuffer, EdgesOfRoomAndSource)
{
    char buffer[8] = "stale";
    EXPECT_TRUE(copyText(buffer, 0, ""));
    EXPECT_TRUE(copyText(nullptr, 0, nullptr));
    EXPECT_STREQ("stale", buffer);
    EXPECT_TRUE(copyText(buffer, 8, nullptr));
    EXPECT_STREQ("", buffer);
    std::memcpy(buffer, "abc", 4);
    EXPECT_FALSE(appendText(buffer, 0, "x"));
    EXPECT_TRUE(appendText(buffer, 0, ""));
    EXPECT_STREQ("abc", buffer);
    EXPECT_FALSE(formatText(nullptr, 8, "x"));
    EXPECT_FALSE(formatText(buffer, 0, "x"));
    EXPECT_STREQ("abc", buffer);
    EXPECT_TRUE(formatText(buffer, 8, "%s", ""));
    EXPECT_STREQ("", buffer);
    std::memcpy(buffer, "stale", 6);
#ifndef _WIN32
    // A wide character that the C locale cannot write makes the host's format fail (the
    // Windows runtime writes a stand-in character instead), and what it wrote before goes too.
    EXPECT_FALSE(formatText(buffer, 8, "ab%ls", L"\x100"));
    EXPECT_STREQ("", buffer);
#endif
}
