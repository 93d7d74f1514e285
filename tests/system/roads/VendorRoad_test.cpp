// The vendor-installer road as a user runs it: the built launcher started in a package
// directory on a machine without registered JVMs, against the prefix's real registry.
#include <windows.h>

#include <string>
#include <vector>

#include "support/LogCheck.h"
#include "support/Package.h"
#include "system/SystemSupport.h"

using namespace qrvtest;
using namespace systemtest;

namespace {

class VendorRoad : public InTempDir {
protected:
    void SetUp() override
    {
        makeDirs(programFiles);
        pkg.copyBuilt("fakevendor.exe", "vendor.exe");
        writeFile(dir / "vendor.ini", "jvm=" + builtProgram("fakejvm.exe") +
                                          "\nversion=1.6.0\nmode=subdir\nrecord=" +
                                          (dir / "vendor.record") + "\n");
    }

    void writeControl(const std::string& command)
    {
        pkg.wizardFiles("jvmRequiredVersion=1.6\r\njvmVersion=1.6.0\r\njvmName=JRE\r\n"
                        "jvmCommandName=java.exe\r\njvmInstallerType=thirdPartyJvmInstaller\r\n"
                        "jvmInstallerBinary=vendor.exe\r\njvmInstallerCommand=" +
                        command + "\r\n");
    }

    const std::string programFiles = dir / "pf";
    Package pkg{dir / "package", false};
    const std::string package = pkg.dir();
    const std::string jvmDir = programFiles + "\\JavaSoft\\JRE1.6\\1.6.0";
    EnvOverride ini{"QRV_FAKEVENDOR_INI", dir / "vendor.ini"};
};

TEST_F(VendorRoad, WizardStartsOnTheJvmTheVendorInstallerPutInPlace)
{
    MachineWithoutJvms machine(programFiles);
    writeControl("vendor.exe/*/*/*/s/*/*/*/v/qn");
    createTraceLog(package);  // a trace the user asked for stays

    ASSERT_NO_FATAL_FAILURE(pkg.run("-q x"));
    EXPECT_EQ(0u, pkg.exitCode()) << readTextFile(package + "\\jinstall.log");

    // The vendor installer ran once, in the JVM directory, with the command's arguments.
    const std::vector<std::string> expected = {"start", "cwd=" + jvmDir, "program=vendor.exe",
                                               "arg=/s", "arg=/v/qn"};
    EXPECT_EQ(expected, readLines(dir / "vendor.record"));
    EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));

    // The wizard was started by the new JVM, in the package directory, and saw the hand-over
    // file for a JVM that the launcher did not install itself.
    const std::string bin = jvmDir + "\\jre1.6.0\\bin";
    const auto wizards = wizardStarts(bin);
    ASSERT_EQ(1u, wizards.size()) << readTextFile(package + "\\jinstall.log");
    EXPECT_EQ("cwd=" + package, wizards[0][0]);
    const std::vector<std::string> native = linesStartingWith(wizards[0], "native=");
    for (const std::string& line : {"nativeJvmHomeDir=" + forwardSlashes(jvmDir + "\\jre1.6.0"),
                                    std::string("nativeJvmInstalled=false"),
                                    std::string("configureWinRegistry=true")})
        EXPECT_TRUE(contains(native, line)) << line;

    // The cleanup took the package's files and the hand-over file away; the JVM stays.
    EXPECT_FALSE(exists(package + "\\install.jar"));
    EXPECT_FALSE(exists(package + "\\native.properties"));
    EXPECT_TRUE(exists(bin + "\\java.exe"));
    EXPECT_TRUE(contains(pkg.trace(), "runJvmInstaller ok: true"));
}

TEST_F(VendorRoad, InstallerThatInstallsNothingEndsTheRunWithAnError)
{
    MachineWithoutJvms machine(programFiles);
    writeFile(dir / "vendor.ini", "mode=nothing\nrecord=" + (dir / "vendor.record") + "\n");
    writeControl("vendor.exe/*/*/*/s");

    ASSERT_NO_FATAL_FAILURE(pkg.run("-q x"));
    EXPECT_TRUE(exists(dir / "vendor.record"));
    EXPECT_FALSE(exists(jvmDir));
    EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));
    // The trace of a failed run stays and tells why.
    const auto trace = pkg.trace();
    EXPECT_TRUE(contains(trace, "runJvmInstaller ok: false"));
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ("install ok: false", trace.back());
}

} // namespace
