#include "exec/CommandRules.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

TEST(CommandRules, SplitAtBlanksKeepsEveryPiece)
{
    struct Row {
        const char* text;
        std::vector<std::string> pieces;
    };
    const Row rows[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a b", {"a", "b"}},
        {"a  b", {"a", "", "b"}},
        {" a", {"", "a"}},
        {"a ", {"a", ""}},
        {"-Xmx64m -Dx=\"a b\"", {"-Xmx64m", "-Dx=\"a", "b\""}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.pieces, splitAtBlanks(row.text)) << "[" << row.text << "]";
    EXPECT_EQ(std::vector<std::string>{""}, splitAtBlanks(nullptr));
}

TEST(CommandRules, WordsFileNamesAndDisplay)
{
    EXPECT_EQ(0, countWords(""));
    EXPECT_EQ(0, countWords(nullptr));
    EXPECT_EQ(1, countWords("x"));
    EXPECT_EQ(3, countWords("a  b"));  // as many words as splitAtBlanks gives pieces
    EXPECT_EQ("javaw.exe", fileNamePart("C:\\Java\\bin\\javaw.exe"));
    EXPECT_EQ("javaw.exe", fileNamePart("javaw.exe"));
    EXPECT_EQ("", fileNamePart("C:\\dir\\"));

    const char* argv[] = {"C:\\j\\java.exe", "-jar", "C:\\My Files\\a.jar", "\"x y\"", "",
                          nullptr};
    EXPECT_EQ("C:\\j\\java.exe -jar \"C:\\My Files\\a.jar\" \"x y\" ", joinForDisplay(argv));
    const char* none[] = {nullptr};
    EXPECT_EQ("", joinForDisplay(none));
}

TEST(CommandRules, ErrnoTexts)
{
    EXPECT_STREQ("File or path is not found", spawnErrorText(2));
    EXPECT_STREQ("Argument list exceeds 1024 bytes", spawnErrorText(7));
    EXPECT_STREQ("Specified file is not executable or has invalid executable-file format",
                 spawnErrorText(8));
    EXPECT_STREQ("Not enough memory is available to execute new process", spawnErrorText(12));
    EXPECT_STREQ("Mode argument is invalid", spawnErrorText(22));
    EXPECT_STREQ("Unknown error", spawnErrorText(13));
    EXPECT_EQ(70u, std::strlen(spawnErrorText(8)));  // fits the callers' buffers with its NUL
}

TEST(CommandRules, StartErrorsAsTheCRuntimeNamedThem)
{
    struct Row {
        unsigned long systemError;
        const char* text;
    };
    const Row rows[] = {
        {2, "File or path is not found"},   // ERROR_FILE_NOT_FOUND
        {3, "File or path is not found"},   // ERROR_PATH_NOT_FOUND
        {161, "File or path is not found"}, // ERROR_BAD_PATHNAME
        {206, "File or path is not found"}, // ERROR_FILENAME_EXCED_RANGE
        {193, "Specified file is not executable or has invalid executable-file format"},
        {11, "Specified file is not executable or has invalid executable-file format"},
        {188, "Specified file is not executable or has invalid executable-file format"},
        {202, "Specified file is not executable or has invalid executable-file format"},
        {8, "Not enough memory is available to execute new process"},
        {14, "Not enough memory is available to execute new process"},
        {5, "Unknown error"},               // ERROR_ACCESS_DENIED
        {87, "Unknown error"},              // ERROR_INVALID_PARAMETER
        {187, "Unknown error"},
        {203, "Unknown error"},
        {0, "Unknown error"},
    };
    for (const Row& row : rows)
        EXPECT_STREQ(row.text, spawnErrorText(startErrorNumber(row.systemError)))
            << "system error " << row.systemError;
    EXPECT_EQ(2, startErrorNumber(2));  // the number the error report writes
}

TEST(CommandRules, CommandLineLimitCountsTheNul)
{
    EXPECT_FALSE(commandLineTooLong(0));
    EXPECT_FALSE(commandLineTooLong(32766));
    EXPECT_TRUE(commandLineTooLong(32767));
    EXPECT_STREQ("Argument list exceeds 1024 bytes", spawnErrorText(E2BIG));
}
