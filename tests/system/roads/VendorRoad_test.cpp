// The vendor-installer road as a user runs it: the built launcher started in a package
// directory on a machine without registered JVMs, against the prefix's real registry.
#include <windows.h>

#include <string>
#include <vector>

#include "support/LogCheck.h"
#include "util/SystemDll.h"
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
    writeFile(package + "\\jinstall.log", "");  // a trace the user asked for stays

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

// Windows Installer packages of the stand-in JDK (tests/standins/standin-jdk.wxs, built by wixl
// when the tests run) installed by Wine's own msiexec. Under Wine the user always counts as an
// administrator, so the elevation that a per-machine package needs (the prompt of a shown run's
// /passive) cannot be shown here.
TEST_F(VendorRoad, WindowsInstallerPackagesAreRunByTheSystemsMsiexec)
{
    const std::string msiexec = systemFilePath("msiexec.exe");
    const std::string log = package + "\\jdk.msi.log";
    const char* const key = "SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.2\\hotspot\\MSI";
    struct Row {
        std::string msi;      // machine, user or failing
        std::string command;  // jvmInstallerCommand
        const char* switches;
        bool userTrace;       // the user keeps a trace, and with it msiexec's log
        std::vector<std::string> traced;
    };
    const Row rows[] = {
        {"machine", "", "-q x", false, {}},
        {"machine", "", "", true, {"arg: /passive", "command: " + msiexec}},
        {"machine", "MsiExec/*/*/*/i/*/*/*jdk.msi/*/*/*ALLUSERS=1/*/*/*/qn", "-q x", true,
         {"arg: ALLUSERS=1", "arg: /qn", "arg: /l*v", "arg: \"" + log + "\"", "command: " + msiexec}},
        {"user", "", "-q x", true, {"arg: /qn"}},
        {"failing", "", "-q x", true, {"jvm installer exit code: 1603"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.msi + " " + row.command + " " + row.switches);
        MachineWithoutJvms machine(programFiles);
        pkg.wizardFiles("jvmMinVersion=17\r\njvmVersion=17\r\njvmName=JDK\r\n"
                        "jvmCommandName=java.exe\r\njvmInstallerType=thirdPartyJvmInstaller\r\n"
                        "jvmInstallerBinary=jdk.msi\r\njvmInstallerCommand=" + row.command + "\r\n");
        const std::string msi = builtProgram("msi\\" + row.msi + ".msi");
        pkg.copyBuilt("msi\\" + row.msi + ".msi", "jdk.msi");
        for (const char* file : {"jinstall.log", "errors.log", "jdk.msi.log"})
            std::remove((pkg / file).c_str());
        if (row.userTrace)
            writeFile(pkg / "jinstall.log", "");

        ASSERT_NO_FATAL_FAILURE(pkg.run(row.switches, 120000));
        const bool fails = row.msi == "failing";
        EXPECT_EQ(fails ? 17u : 0u, pkg.exitCode()) << pkg.errorsText();
        expectTraced(pkg.trace(), row.traced);
        EXPECT_EQ(row.userTrace, exists(log));
        std::string home;
        if (fails) {
            EXPECT_TRUE(contains(pkg.errors(), "Unable to install JDK 17. The JVM installer jdk.msi "
                                               "ended with exit code 1603 (a fatal error during "
                                               "installation, often missing administrator "
                                               "rights). Its log is " + log + "."))
                << pkg.errorsText();
            EXPECT_EQ(std::string::npos, pkg.errorsText().find("disk space"));
        } else {
            const HKEY root = row.msi == "user" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            EXPECT_TRUE(getRegString(root, key, "Path", home)) << "not installed";
        }
        if (!home.empty()) {
            EXPECT_EQ(1u, wizardStarts(home + "bin").size()) << home;
            std::remove((home + "bin\\fakejvm.record").c_str());
            runProgram("\"" + msiexec + "\" /x \"" + msi + "\" /qn", dir.path(), 120000);
        }
    }
}

} // namespace
