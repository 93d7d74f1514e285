// The vendor-installer road as a user runs it: the built launcher started in a package
// directory on a machine without registered JVMs, against the prefix's real registry.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "jvm/discovery/JvmSupport.h"
#include "system/SystemSupport.h"
#include "util/clib.h"

using namespace qrvtest;
using namespace jvmtest;
using namespace systemtest;

namespace {

class VendorRoad : public InTempDir {
protected:
    void SetUp() override
    {
        programFiles = dir / "pf";
        package = dir / "package";
        CreateDirectoryA(programFiles.c_str(), nullptr);
        CreateDirectoryA(package.c_str(), nullptr);
        jvmDir = programFiles + "\\JavaSoft\\JRE1.6\\1.6.0";
        ASSERT_TRUE(CopyFileA(builtProgram("fakevendor.exe").c_str(),
                              (package + "\\vendor.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(builtProgram("TestJvm.class").c_str(),
                              (package + "\\TestJvm.class").c_str(), FALSE));
        writeFile(package + "\\install.jar", "");
        writeFile(dir / "vendor.ini", "jvm=" + builtProgram("fakejvm.exe") +
                                          "\nversion=1.6.0\nmode=subdir\nrecord=" +
                                          (dir / "vendor.record") + "\n");
    }

    void writeControl(const std::string& command)
    {
        writeFile(package + "\\qrv.control",
                  "jvmRequiredVersion=1.6\r\njvmVersion=1.6.0\r\njvmName=JRE\r\n"
                  "jvmCommandName=java.exe\r\njvmInstallerType=thirdPartyJvmInstaller\r\n"
                  "jvmInstallerBinary=vendor.exe\r\njvmInstallerCommand=" +
                      command + "\r\n");
    }

    RunResult runSetup() { return runProgram("\"" + builtProgram("setup.exe") + "\" -q x", package); }

    std::string programFiles;
    std::string package;
    std::string jvmDir;
    EnvOverride ini{"QRV_FAKEVENDOR_INI", dir / "vendor.ini"};
};

TEST_F(VendorRoad, WizardStartsOnTheJvmTheVendorInstallerPutInPlace)
{
    MachineWithoutJvms machine(programFiles);
    writeControl("vendor.exe/*/*/*/s/*/*/*/v/qn");
    writeFile(package + "\\jinstall.log", "");  // a trace the user asked for stays

    const RunResult result = runSetup();
    ASSERT_TRUE(result.started);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode) << readTextFile(package + "\\jinstall.log");

    // The vendor installer ran once, in the JVM directory, with the command's arguments.
    std::vector<std::string> vendor;
    for (const std::string& line : readLines(dir / "vendor.record"))
        vendor.push_back(line);
    const std::vector<std::string> expected = {"start", "cwd=" + jvmDir, "program=vendor.exe",
                                               "arg=/s", "arg=/v/qn"};
    EXPECT_EQ(expected, vendor);
    EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));

    // The wizard was started by the new JVM, in the package directory, and saw the hand-over
    // file for a JVM that the launcher did not install itself.
    const std::string bin = jvmDir + "\\jre1.6.0\\bin";
    bool wizard = false;
    std::vector<std::string> native;
    for (const auto& start : jvmStarts(bin)) {
        if (std::find(start.begin(), start.end(), "arg=TestJvm") != start.end())
            continue;
        wizard = true;
        EXPECT_EQ("cwd=" + package, start[0]);
        for (const std::string& line : start) {
            if (line.compare(0, 7, "native=") == 0)
                native.push_back(line.substr(7));
        }
    }
    EXPECT_TRUE(wizard) << readTextFile(package + "\\jinstall.log");
    std::string home = jvmDir + "\\jre1.6.0";
    std::replace(home.begin(), home.end(), '\\', '/');
    EXPECT_NE(native.end(), std::find(native.begin(), native.end(), "nativeJvmHomeDir=" + home));
    EXPECT_NE(native.end(), std::find(native.begin(), native.end(), "nativeJvmInstalled=false"));
    EXPECT_NE(native.end(),
              std::find(native.begin(), native.end(), "configureWinRegistry=true"));

    // The cleanup took the package's files and the hand-over file away; the JVM stays.
    EXPECT_FALSE(exists(package + "\\install.jar"));
    EXPECT_FALSE(exists(package + "\\native.properties"));
    EXPECT_TRUE(exists(bin + "\\java.exe"));
    const auto trace = logMessages(package + "\\jinstall.log");
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "runJvmInstaller ok: true"));
}

TEST_F(VendorRoad, InstallerThatInstallsNothingEndsTheRunWithAnError)
{
    MachineWithoutJvms machine(programFiles);
    writeFile(dir / "vendor.ini", "mode=nothing\nrecord=" + (dir / "vendor.record") + "\n");
    writeControl("vendor.exe/*/*/*/s");

    const RunResult result = runSetup();
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(exists(dir / "vendor.record"));
    EXPECT_FALSE(exists(jvmDir));
    EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));
    // The trace of a failed run stays and tells why.
    const auto trace = logMessages(package + "\\jinstall.log");
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "runJvmInstaller ok: false"));
    EXPECT_EQ("install ok: false", trace.back());
}

} // namespace
