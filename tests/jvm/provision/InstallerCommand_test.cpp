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
    EXPECT_TRUE(isWindowsInstallerPackage("temurin-17.MSI") && !isWindowsInstallerPackage("a.msi.exe"));
    for (const char* program : {"msiexec.exe", "msiexec", "MsiExec"})
        EXPECT_TRUE(namesSystemMsiexec(program)) << program;
    for (const char* program : {".\\msiexec.exe", "C:\\x\\msiexec.exe", "msiexec2"})
        EXPECT_FALSE(namesSystemMsiexec(program)) << program;
    for (const char* command : {"msiexec/*/*/*/i a.msi /L*V a.log", "msiexec/*/*/*-log/*/*/*a.log",
                                "msiexec/*/*/*/i a.msi /l a.log"})
        EXPECT_TRUE(asksForLog(splitInstallerCommand(command))) << command;
    EXPECT_FALSE(asksForLog(splitInstallerCommand("/l.exe/*/*/*/i/*/*/*C:\\l\\a.msi")));
    const std::pair<const char*, int> logged[] = {
        {"msiexec.exe", 4}, {"msiexec.exe/*/*/*/i/*/*/*\"C:\\kit\\jdk.msi\"/*/*/*/qn", 7}};
    for (const auto& [command, count] : logged) {
        InstallerCommand split = splitInstallerCommand(command);
        addMsiexecLog(split, "a.log");
        EXPECT_EQ(count, split.count) << command;
        EXPECT_EQ("/l*v \"a.log\"", split.args[split.args.size() - 2] + " " + split.args.back());
    }
}
