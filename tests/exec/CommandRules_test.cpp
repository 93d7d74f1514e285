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

TEST(CommandRules, StartErrorsAsTheCRuntimeNamedThem)
{
    struct Row {
        unsigned long systemError;
        int number;
        const char* text;
    };
    const char* const noProgram =
        "Specified file is not executable or has invalid executable-file format";
    const char* const noMemory = "Not enough memory is available to execute new process";
    const Row rows[] = {
        {2, ENOENT, "File or path is not found"},   // ERROR_FILE_NOT_FOUND
        {3, ENOENT, "File or path is not found"},   // ERROR_PATH_NOT_FOUND
        {53, ENOENT, "File or path is not found"},  // ERROR_BAD_NETPATH
        {161, ENOENT, "File or path is not found"}, // ERROR_BAD_PATHNAME
        {206, ENOENT, "File or path is not found"}, // ERROR_FILENAME_EXCED_RANGE
        {193, ENOEXEC, noProgram},  {11, ENOEXEC, noProgram},  {188, ENOEXEC, noProgram},
        {202, ENOEXEC, noProgram},  {7, ENOMEM, noMemory},     {8, ENOMEM, noMemory},
        {9, ENOMEM, noMemory},      {14, EINVAL, "Mode argument is invalid"},
        {1816, ENOMEM, noMemory},
        {10, E2BIG, "Argument list exceeds 1024 bytes"},  // ERROR_BAD_ENVIRONMENT
        {5, EACCES, "Unknown error"},                     // ERROR_ACCESS_DENIED
        {19, EACCES, "Unknown error"},  {32, EACCES, "Unknown error"},
        {36, EACCES, "Unknown error"},  {37, EINVAL, "Mode argument is invalid"},
        {18, ENOENT, "File or path is not found"},
        // One entry for each further number of the runtime's table.
        {4, EMFILE, "Unknown error"},   {17, EXDEV, "Unknown error"},
        {109, EPIPE, "Unknown error"},  {112, ENOSPC, "Unknown error"},
        {114, EBADF, "Unknown error"},  {128, ECHILD, "Unknown error"},
        {145, ENOTEMPTY, "Unknown error"}, {164, EAGAIN, "Unknown error"},
        {183, EEXIST, "Unknown error"},
        // Every error that the table does not list.
        {87, EINVAL, "Mode argument is invalid"},   {187, EINVAL, "Mode argument is invalid"},
        {203, EINVAL, "Mode argument is invalid"},  {0, EINVAL, "Mode argument is invalid"},
        {740, EINVAL, "Mode argument is invalid"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.number, startErrorNumber(row.systemError)) << "system error " << row.systemError;
        EXPECT_STREQ(row.text, spawnErrorText(startErrorNumber(row.systemError)))
            << "system error " << row.systemError;
    }
    EXPECT_EQ(70u, std::strlen(spawnErrorText(ENOEXEC)));  // fits the callers' buffers with its NUL
}

TEST(CommandRules, CommandLineLimitCountsTheNul)
{
    EXPECT_FALSE(commandLineTooLong(0));
    EXPECT_FALSE(commandLineTooLong(32766));
    EXPECT_TRUE(commandLineTooLong(32767));
}
