#include "util/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "é" is C3 A9, "€" E2 82 AC, U+1F600 F0 9F 98 80.
TEST(Utf8, CutsNeverSplitACharacter)
{
    const struct {
        std::string text;
        size_t limit;
        size_t cut;
    } rows[] = {
        {"ab\xC3\xA9", 3, 2},         {"ab\xC3\xA9", 4, 4},       {"ab\xC3\xA9", 2, 2},
        {"\xE2\x82\xAC" "x", 2, 0},   {"\xE2\x82\xAC" "x", 3, 3}, {"\xF0\x9F\x98\x80", 3, 0},
        {"a\xE9" "b", 2, 2},  // a legacy byte before an ASCII one is no split
        {"\x80\x80\x80\x80\x80", 4, 4},  // no start to go back to
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.cut, utf8::cutPoint(row.text.data(), row.text.size(), row.limit))
            << row.text << " at " << row.limit;

    char full[] = "ab\xE2\x82";  // a read that filled its buffer of 5
    utf8::trimCutLine(full, 5);
    EXPECT_STREQ("ab", full);
    char ended[] = "a\xC3\n";  // a line end: the read was not cut
    utf8::trimCutLine(ended, 4);
    EXPECT_STREQ("a\xC3\n", ended);
    char last[] = "ab\xE2\x82";  // a short last line without its end: the read was not cut
    utf8::trimCutLine(last, 6);
    EXPECT_STREQ("ab\xE2\x82", last);
}

TEST(Utf8, EncodingsOfAFile)
{
    using utf8::Encoding;
    const struct {
        std::string bytes;
        Encoding encoding;
        std::string decoded;  // of UTF-16
    } rows[] = {
        {"jvmName=JDK", Encoding::Utf8, ""},
        {"caf\xC3\xA9", Encoding::Utf8, ""},
        {"caf\xE9", Encoding::Legacy, ""},
        {"\xC0\xAF", Encoding::Legacy, ""},          // overlong
        {"\xED\xA0\x80", Encoding::Legacy, ""},      // surrogate
        {"\xF4\x90\x80\x80", Encoding::Legacy, ""},  // past U+10FFFF
        {"\xC3", Encoding::Legacy, ""},
        {"\x80", Encoding::Legacy, ""},              // a lone continuation byte
        {"\xF0\x8F\xBF\xBF", Encoding::Legacy, ""},  // overlong four-byte form
        {"\xF0\x90\x80\x80", Encoding::Utf8, ""},      // its twin, U+10000
        {"\xEF\xBB\xBFk=1", Encoding::Utf8Mark, ""},
        {"\xEF\xBB\xBF", Encoding::Utf8Mark, ""},    // only the mark
        {"\xFF\xFE", Encoding::Utf16Le, ""},
        {"\xFE\x41", Encoding::Legacy, ""},
        {"\xFF\x41", Encoding::Legacy, ""},        // 8-bit text beginning with "\xFF" (y umlaut)
        {std::string("\xFF\xFE\x00\x01\xAC\x20\x00\xE0\x00\xD8\x00\xDC\xFF\xDB\xFF\xDF", 16),
         Encoding::Utf16Le,  // U+0100, U+20AC, U+E000, U+10000, U+10FFFF
         "\xC4\x80\xE2\x82\xAC\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {std::string("\xFF\xFEk\0=\0\xE9\0\x3D\xD8\x00\xDE", 12), Encoding::Utf16Le,
         "k=\xC3\xA9\xF0\x9F\x98\x80"},
        {std::string("\xFE\xFF\0k\xD8\x3D\0=\x20", 9), Encoding::Utf16Be,
         "k\xEF\xBF\xBD=\xEF\xBF\xBD"},  // unpaired surrogate, odd last byte
    };
    for (const auto& row : rows) {
        const Encoding found = utf8::detect(row.bytes.data(), row.bytes.size());
        EXPECT_EQ(row.encoding, found) << row.bytes;
        if (found == Encoding::Utf16Le || found == Encoding::Utf16Be) {
            EXPECT_EQ(row.decoded, utf8::fromUtf16(row.bytes.data() + 2, row.bytes.size() - 2,
                                                   found == Encoding::Utf16Be));
        }
    }
    EXPECT_EQ(3u, utf8::markLength(Encoding::Utf8Mark));
    EXPECT_EQ(2u, utf8::markLength(Encoding::Utf16Le));
    EXPECT_EQ(2u, utf8::markLength(Encoding::Utf16Be));
    EXPECT_EQ(0u, utf8::markLength(Encoding::Utf8));
    EXPECT_EQ(0u, utf8::markLength(Encoding::Legacy));
}

} // namespace
