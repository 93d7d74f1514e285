#include <windows.h>

#include <string>

#include "install/Install.h"
#include "install/InstallTexts.h"
#include "support/Package.h"
#include "util/clib.h"

using namespace qrvtest;

namespace {

// The driver on the packaged-JVM road, in a package whose expander lays out nothing.
class DriverWithPackagedJvm : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        package.expander("jre131.exe", "fail=1\n");
        package.wizardFiles("jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\njvmName=JRE\r\n"
                            "jvmCommandName=java.exe\r\njvmInstallerType=selfExtratorJvmInstaller\r\n"
                            "jvmSelfExtractor=jre131.exe\r\npredefinedJvmInstallDir=" +
                            (dir / "jvm") + "\r\nsearchForJvm=no\r\n");
    }

    Package package{dir.path(), false};
};

TEST_F(DriverWithPackagedJvm, AnExpanderThatLaysOutNothingEndsInTheInstallationFailure)
{
    char details[] = "";
    EXPECT_FALSE(startProgram(true, false, details, ""));

    EXPECT_TRUE(exists("fakeexpander.record"));  // the expander did run
    const std::string errors = readTextFile("errors.log");
    EXPECT_NE(std::string::npos, errors.find("Unable to find JVM executable")) << errors;
    EXPECT_NE(std::string::npos, errors.find("Unable to configure JVM in " + (dir / "jvm")))
        << errors;
    const std::string message =
        std::string("Unable to install JRE 1.3.1. ") + install_names::diskSpaceText;
    EXPECT_NE(std::string::npos, errors.find(message)) << errors;
    EXPECT_NE(std::string::npos, errors.find(install_names::otherCausesText)) << errors;
    EXPECT_FALSE(exists("native.properties"));

    char current[PathCapacity];
    getCurrentDir(current, PathSize);
    EXPECT_EQ(dir.path(), std::string(current));
}

// The hand-over file for the wizard cannot be written (a directory in its place): the run fails
// with the installation failure and what went wrong, and no wizard starts on a JVM the file
// does not describe.
TEST_F(DriverWithPackagedJvm, AHandOverFileThatCannotBeWrittenFailsTheRunAndStartsNoWizard)
{
    package.expander("jre131.exe", "version=1.3.1\n");
    CreateDirectoryA("native.properties", nullptr);
    createTraceLog();

    char details[] = "";
    EXPECT_FALSE(startProgram(true, false, details, ""));
    const std::string errors = readTextFile("errors.log");
    const std::string message =
        std::string("Unable to install application.\r\r") + install_names::diskSpaceText;
    EXPECT_NE(std::string::npos, errors.find(message)) << errors;
    EXPECT_NE(std::string::npos, errors.find("Unable to write " + (dir / "native.properties") + ": "))
        << errors;
    // The JVM laid out was test-run, and never started as the wizard.
    EXPECT_EQ(1u, jvmStarts(dir / "jvm\\bin").size()) << readTextFile("jinstall.log");
    EXPECT_TRUE(wizardStarts(dir / "jvm\\bin").empty());
}

} // namespace
