#include <windows.h>

#include <string>

#include "install/Install.h"
#include "install/InstallTexts.h"
#include "support/TestSupport.h"
#include "util/clib.h"

using namespace qrvtest;

namespace {

// The driver on the packaged-JVM road, in a package whose expander lays out nothing.
class DriverWithPackagedJvm : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            CopyFileA(builtProgram("fakeexpander.exe").c_str(), (dir / "jre131.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(builtProgram("TestJvm.class").c_str(), (dir / "TestJvm.class").c_str(),
                              FALSE));
        writeFile("fakeexpander.ini", "jvm=" + builtProgram("fakejvm.exe") + "\nfail=1\n");
        writeFile("install.jar", "");
        writeFile("qrv.control", "jvmMinVersion=1.3\r\n"
                                 "jvmVersion=1.3.1\r\n"
                                 "jvmName=JRE\r\n"
                                 "jvmCommandName=java.exe\r\n"
                                 "jvmInstallerType=selfExtratorJvmInstaller\r\n"
                                 "jvmSelfExtractor=jre131.exe\r\n"
                                 "predefinedJvmInstallDir=" +
                                     (dir / "jvm") +
                                     "\r\n"
                                     "searchForJvm=no\r\n");
    }
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
    writeFile("fakeexpander.ini", "jvm=" + builtProgram("fakejvm.exe") + "\nversion=1.3.1\n");
    CreateDirectoryA("native.properties", nullptr);
    writeFile("jinstall.log", "");

    char details[] = "";
    EXPECT_FALSE(startProgram(true, false, details, ""));
    const std::string errors = readTextFile("errors.log");
    const std::string message =
        std::string("Unable to install application.\r\r") + install_names::diskSpaceText;
    EXPECT_NE(std::string::npos, errors.find(message)) << errors;
    EXPECT_NE(std::string::npos, errors.find("Unable to write " + (dir / "native.properties") + ": "))
        << errors;
    const std::string trace = readTextFile("jinstall.log");
    EXPECT_EQ(std::string::npos, trace.find("classpath:")) << trace;
}

} // namespace
