#include "jvm/provision/InstallerExit.h"
#include <gtest/gtest.h>

// The codes that the vendor road's table (RunJvmInstaller_test) starts no installer for.
TEST(InstallerExit, FailuresAreNamedWithTheirMeaningAndTheLog)
{
    EXPECT_EQ("The JVM installer a.msi ended with exit code 1625 (forbidden by system policy). Its "
              "log is C:\\a.msi.log.", installerFailureText("a.msi", 1625, "C:\\a.msi.log"));
    EXPECT_EQ("The JVM installer a.exe ended with exit code 3221225477.",  // a crash
              installerFailureText("a.exe", 0xC0000005ul, ""));
    for (const unsigned long code : {1619ul, 1633ul, 1638ul})
        EXPECT_NE("", judgeInstallerExit(code).meaning) << code;
}
