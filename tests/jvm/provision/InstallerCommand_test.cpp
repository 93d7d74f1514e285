#include "jvm/provision/InstallerCommand.h"
#include <gtest/gtest.h>

TEST(InstallerCommand, SplitsProgramAndArgumentsAtEverySeparator)
{
    struct Row {
        std::string command;
        std::string program;
        std::vector<std::string> args;
        int count;
    };
    const Row rows[] = {
        {"setup.exe/*/*/*/s/*/*/*/v/qn", "setup.exe", {"setup.exe", "/s", "/v/qn"}, 4},
        {"C:\\kit\\setup.exe/*/*/*", "C:\\kit\\setup.exe", {"setup.exe", ""}, 2},
        {"a.exe/*/*/*x/*/*/*y/*/*/*z", "a.exe", {"a.exe", "x", "y", "z"}, 5},
        {"C:\\My Kit\\setup.exe", "C:\\My Kit\\setup.exe", {"setup.exe"}, 2},  // no argument
        {"a.exe/*/*/*/*/*/*", "a.exe", {"a.exe", "", ""}, 4},
        {"", "", {""}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const InstallerCommand split = splitInstallerCommand(row.command);
        EXPECT_EQ(row.program, split.program);
        EXPECT_EQ(row.args, split.args);
        EXPECT_EQ(row.count, split.count);
    }
    EXPECT_EQ("/s/*/*/*/v/qn", splitInstallerCommand("setup.exe/*/*/*/s/*/*/*/v/qn").remainder);
}

TEST(InstallerCommand, SlotsGoOntoTheCommandLineAsWritten)
{
    struct Row {
        std::string command;
        std::string line;
    };
    const Row rows[] = {
        {"setup.exe/*/*/*/s/*/*/*/v/qn", "setup.exe /s /v/qn"},
        {"setup.exe/*/*/*/s /v/qn", "setup.exe /s /v/qn"},   // one slot, two arguments
        {"setup.exe/*/*/*/v\"/qn X=1\"", "setup.exe /v\"/qn X=1\""},
        {"C:\\My Kit\\setup.exe/*/*/*/s", "setup.exe /s"},
        {"My setup.exe/*/*/*/s", "\"My setup.exe\" /s"},      // the program's name is quoted
        {"setup.exe/*/*/*", "setup.exe "},                    // the empty slot, as always
        {"setup.exe", "setup.exe"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.line, installerCommandLine(splitInstallerCommand(row.command)))
            << row.command;
}

TEST(InstallerCommand, WindowsInstallerRunsThroughTheSystemsMsiexecWithALog)
{
    EXPECT_TRUE(isWindowsInstallerPackage("temurin-17.MSI"));
    EXPECT_FALSE(isWindowsInstallerPackage("jdk.msi.exe"));
    EXPECT_FALSE(isWindowsInstallerPackage("msi"));
    for (const char* program : {"msiexec", "MsiExec.EXE"})
        EXPECT_TRUE(namesSystemMsiexec(program)) << program;
    for (const char* program : {"C:\\kit\\msiexec.exe", ".\\msiexec.exe", "msiexec.com", "msiexec2"})
        EXPECT_FALSE(namesSystemMsiexec(program)) << program;

    struct Row {
        std::string command;
        bool asksForLog;
    };
    const Row rows[] = {
        {"msiexec/*/*/*/i/*/*/*a.msi/*/*/*/qn", false},
        {"msiexec/*/*/*/i a.msi /L*V a.log", true},
        {"msiexec/*/*/*/i/*/*/*a.msi/*/*/*-log/*/*/*a.log", true},
        {"msiexec/*/*/*/i/*/*/*C:\\logs\\a.msi", false},  // not a switch
        {"/l.exe/*/*/*/i", false},                          // the program is no argument
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.asksForLog, asksForLog(splitInstallerCommand(row.command))) << row.command;

    InstallerCommand own = splitInstallerCommand("msiexec/*/*/*/i/*/*/*a.msi");
    addMsiexecLog(own, "C:\\p q\\a.msi.log");
    EXPECT_EQ("msiexec /i a.msi /l*v \"C:\\p q\\a.msi.log\"", installerCommandLine(own));
    EXPECT_EQ(6, own.count);
    EXPECT_EQ("msiexec.exe /i \"C:\\j d\\a.msi\" /norestart /l*v \"C:\\p\\a.msi.log\" /passive",
              installerCommandLine(splitInstallerCommand(
                  defaultMsiexecCommand("C:\\j d\\a.msi", "C:\\p\\a.msi.log", false))));
    EXPECT_EQ("/qn", splitInstallerCommand(defaultMsiexecCommand("a", "b", true)).args.back());
}
