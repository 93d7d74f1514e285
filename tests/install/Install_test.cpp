#include "install/Install.h"
#include "install/InstallTexts.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"

#include <cstring>

using namespace qrvtest;

namespace {

class Driver : public InTempDirWithRegistry {
protected:
    bool run(bool quiet = true)
    {
        char details[] = "";
        return startProgram(quiet, false, details, "");
    }
};

} // namespace

TEST(DriverTexts, OtherCausesTextHasItsFullLength)
{
    EXPECT_EQ(292u, std::strlen(install_names::otherCausesText));
}

TEST_F(Driver, FailureWithoutAControlFileLogsTheDefaultTexts)
{
    EXPECT_FALSE(run());
    const std::string message = std::string("Unable to install application.\r\r") +
                                install_names::diskSpaceText;
    const std::string errors = readTextFile("errors.log");
    EXPECT_NE(std::string::npos, errors.find(message)) << errors;
    EXPECT_NE(std::string::npos, errors.find(install_names::otherCausesText)) << errors;
    EXPECT_NE(std::string::npos, errors.find("unable to get parameters")) << errors;
    const std::string trace = readTextFile("jinstall.log");
    EXPECT_NE(std::string::npos, trace.find(message)) << trace;
}

TEST_F(Driver, ATraceLogThatExistedBeforeTheRunGetsTheHeaderAndIsKept)
{
    createTraceLog();
    EXPECT_FALSE(run());
    const std::vector<std::string> lines = logMessages("jinstall.log");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("", lines[0]);
    EXPECT_EQ("Preparing Java install wizard", lines[1]);
    EXPECT_EQ("Quite install: true", lines[2]);
    EXPECT_EQ("Properties install: false", lines[3]);
    EXPECT_TRUE(contains(lines, "set status quite"));
    EXPECT_FALSE(exists("jinstall.sem"));
}

TEST_F(Driver, ARunWithoutATraceLogCreatesItWithItsMarkerAfterTheHeader)
{
    EXPECT_FALSE(run());
    ASSERT_TRUE(exists("jinstall.log"));
    const std::vector<std::string> lines = logMessages("jinstall.log");
    EXPECT_FALSE(contains(lines, "Preparing Java install wizard"));
    EXPECT_TRUE(contains(lines, "unable to get parameters"));
    // a failed run keeps its trace log, ending with the verdict, and drops the marker
    EXPECT_EQ("install ok: false", lines.back());
    EXPECT_FALSE(exists("jinstall.sem"));
}

// The failure texts of the packaged-JVM step as the user reads them: which installer type
// matches (any case, but only this spelling), and the version text in both of its forms.
TEST_F(Driver, PackagedJvmFailureTexts)
{
    const std::string notFound = "The correct version of the JRE was not found on your system.";
    const struct {
        const char* control;
        std::string message;
        std::string details;
    } rows[] = {
        {"searchForJvm=NONE\njvmMinVersion=1.6\n", notFound,
         "Please install the correct JRE. You need version 1.6 or a later version, x64 memory "
         "model. Then restart this installation program."},
        {"searchForJvm=no\njvmMinVersion=1.6\njvmMaxVersion=1.8\n"
         "jvmInstallerType=selfExtractorJvmInstaller\njvmSelfExtractor=jre.exe\n",
         notFound,
         "Please install the correct JRE. You need version 1.6 - 1.8, x64 memory model. Then "
         "restart this installation program."},
        {"searchForJvm=no\njvmRequiredVersion=1.6.0\njvmInstallerType=SELFEXTRATORJVMINSTALLER\n"
         "jvmSelfExtractor=missing.exe\n",
         "Unable to find JRE 1.6.0 on your system.",
         "Please install the JVM and re-start this installer."},
        {"searchForJvm=no\njvmMinVersion=1.6\njvmInstallerType=thirdPartyJvmInstaller\n",
         notFound, "Please install JRE 1.6 or a later version and then restart this installation "
                   "program."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        std::remove("errors.log");
        writeFile("qrv.control", std::string("jvmName=JRE\n") + row.control);
        EXPECT_FALSE(run());
        const std::vector<std::string> errors = logMessages("errors.log");
        EXPECT_TRUE(contains(errors, row.message));
        EXPECT_TRUE(contains(errors, row.details));
    }
}

// A packaged JVM newly installed without a predefined directory: the hand-over file says
// nothing about a temporary directory.
TEST_F(Driver, NoTemporaryLineWithoutAPredefinedDirectory)
{
    Install driver;
    ASSERT_TRUE(driver.logJvmLocation(true, "", true));
    EXPECT_EQ("nativeJvmHomeDir=\nnativeJvmInstalled=true\nconfigureWinRegistry=true\n",
              readTextFile("native.properties"));
}
