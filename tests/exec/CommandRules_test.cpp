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
}

// Every entry of the runtime's table and both ends of its ranges, each beside a neighbour that
// the table does not list.
TEST(CommandRules, StartErrorOfEveryTableEntry)
{
    const std::pair<unsigned long, int> rows[] = {
        {4, EMFILE},    {17, EXDEV},      {65, EACCES},  {64, EINVAL},  {67, ENOENT},
        {66, EINVAL},   {108, EACCES},    {109, EPIPE},  {110, EINVAL}, {112, ENOSPC},
        {113, EINVAL},  {114, EBADF},     {115, EINVAL}, {128, ECHILD}, {129, ECHILD},
        {130, EBADF},   {131, EINVAL},    {132, EACCES}, {145, ENOTEMPTY}, {146, EINVAL},
        {158, EACCES},  {159, EINVAL},    {164, EAGAIN}, {165, EINVAL}, {167, EACCES},
        {168, EINVAL},  {183, EEXIST},    {184, EINVAL}, {215, EAGAIN}, {216, EINVAL},
        {6, EBADF},     {15, ENOENT},     {16, EACCES},  {80, EEXIST},  {81, EINVAL},
        {82, EACCES},   {83, EACCES},     {84, EINVAL},  {89, EAGAIN},  {90, EINVAL},
        {1815, EINVAL}, {1817, EINVAL},   {201, ENOEXEC}, {189, ENOEXEC}, {20, EACCES},
        {35, EACCES},   {1, EINVAL},      {52, EINVAL},  {54, EINVAL},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, startErrorNumber(row.first)) << "system error " << row.first;
}

TEST(CommandRules, CommandLineLimitCountsTheNul)
{
    EXPECT_FALSE(commandLineTooLong(0));
    EXPECT_FALSE(commandLineTooLong(32766));
    EXPECT_TRUE(commandLineTooLong(32767));
    EXPECT_STREQ("Argument list exceeds 1024 bytes", spawnErrorText(E2BIG));
}
