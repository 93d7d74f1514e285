#include "jvm/provision/InstallerExit.h"
#include <gtest/gtest.h>

TEST(InstallerExit, EachKnownCodeHasItsVerdictAndMeaning)
{
    struct Row {
        unsigned long code;
        InstallerEnd end;
        const char* meaning;
    };
    const Row rows[] = {
        {0, InstallerEnd::Success, ""},
        {3010, InstallerEnd::RestartWanted, "done, a restart of the computer is wanted"},
        {1641, InstallerEnd::RestartWanted,
         "done, the installer started a restart of the computer"},
        {1602, InstallerEnd::Cancelled, "the user cancelled the installation"},
        {1618, InstallerEnd::Busy, "another installation is in progress: wait until it has "
                                   "finished, then start this installer again"},
        {1603, InstallerEnd::Failed,
         "a fatal error during installation, often missing administrator rights"},
        {1619, InstallerEnd::Failed, "the package could not be opened"},
        {1633, InstallerEnd::Failed, "not supported on this processor"},
        {1638, InstallerEnd::Failed, "another version of the product is installed"},
        {1, InstallerEnd::Failed, ""},
    };
    for (const Row& row : rows) {
        const InstallerVerdict verdict = judgeInstallerExit(row.code);
        EXPECT_EQ(static_cast<int>(row.end), static_cast<int>(verdict.end)) << row.code;
        EXPECT_EQ(row.meaning, verdict.meaning) << row.code;
    }
}

TEST(InstallerExit, FailuresAreNamedWithTheirMeaningAndTheLog)
{
    EXPECT_EQ("The JVM installer a.msi ended with exit code 1625 (forbidden by system policy). Its "
              "log is C:\\a.msi.log.", installerFailureText("a.msi", 1625, "C:\\a.msi.log"));
    EXPECT_EQ("The JVM installer a.exe ended with exit code 3221225477.",  // a crash
              installerFailureText("a.exe", 0xC0000005ul, ""));
}
