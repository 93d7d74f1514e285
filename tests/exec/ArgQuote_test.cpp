#include "exec/ArgQuote.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ArgQuote, CommandLineQuotedEscapesQuotesAndBackslashes)
{
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"", "\"\""},
        {"a b", "\"a b\""},
        {"\"C:\\My Dir\\x\"", "\"\\\"C:\\My Dir\\x\\\"\""},
        {"a\\\"b c", "\"a\\\\\\\"b c\""},
        {"dir\\", "\"dir\\\\\""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, commandLineQuoted(row.text)) << "[" << row.text << "]";
}

TEST(ArgQuote, OnlyBlanksAndTabsWithoutQuotesAreWrapped)
{
    struct Row {
        const char* arg;
        const char* expected;
    };
    const Row rows[] = {
        {"plain", "plain"},
        {"", ""},  // an empty argument still vanishes in the joined command line
        {"C:\\My Files\\app", "\"C:\\My Files\\app\""},
        {"tab\there", "\"tab\there\""},
        {"C:\\dir with blank\\", "\"C:\\dir with blank\\\\\""},  // trailing backslash survives
        {"a b\\\\", "\"a b\\\\\\\\\""},
        {"\"already quoted\"", "\"already quoted\""},
        {"x=\"a b\" y", "x=\"a b\" y"},
        {"no\\blank\\", "no\\blank\\"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, quoteArgument(row.arg)) << "argument [" << row.arg << "]";
    EXPECT_EQ("", quoteArgument(nullptr));
}

TEST(ArgQuote, CommandLineJoinsTheQuotedFormsWithSingleBlanks)
{
    struct Row {
        std::vector<std::string> args;
        const char* line;
    };
    const Row rows[] = {
        {{"java.exe", "-cp", ".", "TestJvm", "C:\\pkg dir"},
         "java.exe -cp . TestJvm \"C:\\pkg dir\""},
        {{"C:\\My Kit\\x.exe"}, "\"C:\\My Kit\\x.exe\""},  // the program alone, no blank after
        {{"a", "", "b"}, "a  b"},                           // an empty argument vanishes
        {{"w.exe", "-q", "\"C:\\x\""}, "w.exe -q \"C:\\x\""},  // quoted already: as written
        {{}, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.line, commandLineOf(row.args));
    const char* argv[] = {"a b", "c", nullptr};
    EXPECT_EQ("\"a b\" c", commandLineOf(argv));
    EXPECT_EQ("", commandLineOf(static_cast<const char* const*>(nullptr)));
}
