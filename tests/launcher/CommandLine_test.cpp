#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineRow {
    const char* commandLine;
    bool hidden;  // the scan finds a switch
    bool quiet;
    bool properties;
    const char* details;
};

const CommandLineRow Rows[] = {
    {"", false, false, false, ""},
    {"-q", false, false, false, ""},                       // a lone switch is the last token
    {"-q x", true, true, false, "x"},
    {"-q C:\\target", true, true, false, "C:\\target"},
    {"foo -s bar", true, false, true, "bar"},              // tokens before the switch are allowed
    {"-Q x", false, false, false, ""},                     // capitals are no switch
    {"-qx y", false, false, false, ""},                    // the whole token must match
    {"-s \"C:\\My Files\\app\"", true, false, true, "C:\\My Files\\app"},
    {"-q \"C:\\x\"", true, true, false, "\"C:\\x\""},      // a lone last token stays unchanged
    {"-q \"C:\\My\"Apps\" dir\"", true, true, false, "C:\\My\"Apps\" dir"},  // inner quotes stay
    {"-q ", true, true, false, ""},                        // empty last token: no details
    {"-q a b", true, true, false, "a"},                    // unquoted: one word only
    {"-s \"C:\\A  B\\c\"", true, false, true, "C:\\A  B\\c"},  // double blank kept in quotes
    {"-s \"C:\\A B\" more", true, false, true, "C:\\A B"},     // text after the quote ignored
    {"-q -s x", true, true, true, "x"},
    {"-q x -s y", true, true, true, "x"},
    {"a b c", false, false, false, ""},
    {"x -q", false, false, false, ""},
};

TEST(CommandLine, ScanAndTokenWalk)
{
    for (const CommandLineRow& row : Rows) {
        SCOPED_TRACE(std::string("[") + row.commandLine + "]");
        EXPECT_EQ(row.hidden, hasInstallSwitch(row.commandLine));
        const InstallRequest request = parseInstallRequest(row.commandLine);
        EXPECT_EQ(row.quiet, request.quiet);
        EXPECT_EQ(row.properties, request.properties);
        EXPECT_EQ(row.details, request.details);
    }
}

TEST(CommandLine, NullCommandLineIsEmpty)
{
    EXPECT_FALSE(hasInstallSwitch(nullptr));
    EXPECT_EQ("", parseInstallRequest(nullptr).details);
}

TEST(StartDir, TrailingBlanksAndLineEndsGoButNeverTheFirstCharacter)
{
    EXPECT_EQ("C:\\Users\\me", trimStartDirLine("C:\\Users\\me \r\n"));
    EXPECT_EQ("C:\\a b", trimStartDirLine("C:\\a b\n"));
    EXPECT_EQ(" ", trimStartDirLine("  \r\n"));
    EXPECT_EQ("", trimStartDirLine(""));
}

TEST(StartDir, CleanupOnlyForAnotherDirectory)
{
    EXPECT_FALSE(startDirNeedsCleanup("", "C:\\pkg"));
    EXPECT_FALSE(startDirNeedsCleanup(nullptr, "C:\\pkg"));
    EXPECT_FALSE(startDirNeedsCleanup("c:\\PKG", "C:\\pkg"));
    EXPECT_TRUE(startDirNeedsCleanup("C:\\pkg2", "C:\\pkg"));
    EXPECT_TRUE(startDirNeedsCleanup("C:\\pk", "C:\\pkg"));
    EXPECT_TRUE(startDirNeedsCleanup("C:\\Users\\me", "C:\\pkg"));
}

} // namespace
