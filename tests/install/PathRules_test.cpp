#include "install/PathRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(PathRules, EntriesEndingInTheName)
{
    struct Row {
        const char* path;
        const char* name;
        Lines found;
    };
    const Row rows[] = {
        {"C:\\WINNT\\system32;C:\\WINNT", "winnt", {"c:\\winnt"}},
        {"C:\\WINNT\\WINNT", "winnt", {}},  // the first occurrence is not at the end
        {";;c:\\Windows;", "WINDOWS", {"c:\\windows"}},
        {"d:\\mywindows;c:\\windows", "windows", {"d:\\mywindows", "c:\\windows"}},
        {"", "winnt", {}},
        {"c:\\windows\\", "windows", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.found, pathEntriesEndingIn(row.path, row.name)) << "[" << row.path << "]";

    // Only the first 4999 characters of PATH are looked at.
    const std::string filler(4990, 'x');
    EXPECT_EQ(Lines{"c:\\winnt"}, pathEntriesEndingIn((filler + ";c:\\winnt").c_str(), "winnt"));
    EXPECT_EQ(Lines{}, pathEntriesEndingIn((filler + "xx;c:\\winnt").c_str(), "winnt"));
    EXPECT_EQ(Lines{}, pathEntriesEndingIn((filler + "x;c:\\winnt").c_str(), "winnt"));  // 5000
}

TEST(PathRules, LogFolderIsNamedAfterThePackageDirectory)
{
    const Lines rows[] = {{"C:\\media\\My Package", "qrv-My Package-"}, {"E:\\pkg\\", "qrv-pkg-"},
                          {"D:\\", "qrv-D-"}, {"\\\\server\\share", "qrv-share-"}};
    for (const Lines& row : rows)
        EXPECT_EQ(row[1], logFolderName(row[0]).substr(0, row[1].size())) << row[0];
    // A folder of its own per directory, whatever spelling names it.
    EXPECT_EQ("qrv-setup-392FCD26", logFolderName("D:\\setup"));  // the tag as written by hand
    EXPECT_NE(logFolderName("D:\\setup"), logFolderName("E:\\setup"));
    EXPECT_EQ(logFolderName("D:\\Setup\\"), logFolderName("d:/Setup"));
}

// A write-protected medium (ERROR_WRITE_PROTECT) is refused like a locked folder (access denied);
// a missing folder, a held file and a full disk are other failures.
TEST(PathRules, RefusalsThatMeanTheDirectoryCannotBeWritten)
{
    const std::pair<unsigned long, bool> rows[] = {{5, true},   {19, true}, {0, false}, {3, false},
                                                   {32, false}, {112, false}, {20, false}};
    for (const auto& row : rows)
        EXPECT_EQ(row.second, refusesWrites(row.first)) << row.first;
}
