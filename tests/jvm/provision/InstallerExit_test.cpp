#include "jvm/provision/InstallerExit.h"
#include <gtest/gtest.h>

TEST(InstallerExit, EveryCodeOfTheTableGetsItsVerdictAndMeaning)
{
    struct Row {
        unsigned long code;
        InstallerEnd end;
        const char* meaningStart;  // "" for a code without one
    };
    const Row rows[] = {
        {0, InstallerEnd::Success, ""},
        {3010, InstallerEnd::RestartWanted, "done, a restart"},
        {1641, InstallerEnd::RestartWanted, "done, the installer started a restart"},
        {1602, InstallerEnd::Cancelled, "the user cancelled"},
        {1618, InstallerEnd::Busy, "another installation is in progress: wait"},
        {1603, InstallerEnd::Failed, "a fatal error during installation"},
        {1619, InstallerEnd::Failed, "the package could not be opened"},
        {1625, InstallerEnd::Failed, "forbidden by system policy"},
        {1633, InstallerEnd::Failed, "not supported on this processor"},
        {1638, InstallerEnd::Failed, "another version of the product is installed"},
        {1, InstallerEnd::Failed, ""},
        {0xC0000005ul, InstallerEnd::Failed, ""},  // a crash
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        const InstallerVerdict verdict = judgeInstallerExit(row.code);
        EXPECT_EQ(row.end, verdict.end);
        EXPECT_EQ(0u, verdict.meaning.find(row.meaningStart));
        EXPECT_EQ(*row.meaningStart == '\0', verdict.meaning.empty());
    }
}

TEST(InstallerExit, AFailureNamesTheInstallerItsCodeAndLog)
{
    EXPECT_EQ("The JVM installer jdk.msi ended with exit code 1625 (forbidden by system policy). "
              "Its log is C:\\p\\jdk.msi.log.",
              installerFailureText("jdk.msi", 1625, "C:\\p\\jdk.msi.log"));
    EXPECT_EQ("The JVM installer setup.exe ended with exit code 3221225477.",
              installerFailureText("setup.exe", 0xC0000005ul, ""));
}
