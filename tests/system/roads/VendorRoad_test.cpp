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

// Windows Installer packages of the stand-in JDK (tests/standins/standin-jdk.wxs, built by wixl
// when the tests run) installed by Wine's own msiexec; exit code 0 is the wizard's, started on the
// one JVM there is. Under Wine the user always counts as an administrator: the elevation that a
// per-machine package needs (the prompt of a shown run's /passive) cannot be shown here.
TEST_F(VendorRoad, WindowsInstallerPackagesAreRunByTheSystemsMsiexec)
{
    const std::string msiexec = systemFilePath("msiexec.exe");
    const std::string log = package + "\\jdk.msi.log";
    const std::string jvmDir17 = programFiles + "\\JavaSoft\\JDK17\\17";
    struct Row {
        std::string msi;      // machine, user or failing
        std::string command;  // jvmInstallerCommand
        const char* switches;
        std::vector<std::string> traced;  // none: no trace is kept, nor msiexec's log
    };
    const Row rows[] = {
        {"machine", "", "", {"command: " + msiexec, "Args: msiexec.exe /i \"jdk.msi\" /norestart "
                                   "/l*v \"" + log + "\" /passive"}},
        {"machine", "MsiExec/*/*/*/i/*/*/*jdk.msi/*/*/*ALLUSERS=1/*/*/*/qn", "-q x",
         {"arg: ALLUSERS=1", "arg: /qn", "arg: /l*v", "arg: \"" + log + "\"", "command: " + msiexec}},
        {"user", "", "-q x", {"arg: /qn"}},
        // The installer ran and installed nothing: the run ends with an error and keeps its trace.
        {"failing", "", "-q x", {"jvm installer exit code: 1603", "runJvmInstaller ok: false",
                                 "install ok: false"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.msi + " " + row.command + " " + row.switches);
        MachineWithoutJvms machine(programFiles);
        pkg.wizardFiles("jvmMinVersion=17\r\njvmVersion=17\r\njvmName=JDK\r\njvmCommandName=java.exe"
                        "\r\njvmInstallerType=thirdPartyJvmInstaller\r\njvmInstallerBinary=jdk.msi"
                        "\r\njvmInstallerCommand=" + row.command + "\r\n");
        const std::string msi = builtProgram("msi\\" + row.msi + ".msi");
        copyFile(msi, pkg / "jdk.msi");
        std::remove(log.c_str());  // a trace, where kept, is written anew by each row
        std::remove((pkg / "jinstall.log").c_str());
        if (!row.traced.empty() && row.msi != "failing")  // a failed run keeps its trace itself
            writeFile(pkg / "jinstall.log", "");

        // Whatever the row's outcome, what it installed goes, or it would stay in the prefix.
        const AtScopeEnd uninstall([&] {
            if (row.msi != "failing") {
                EXPECT_EQ(0u, runProgram("\"" + msiexec + "\" /x \"" + msi + "\" /qn", dir.path(),
                                         120000).exitCode);
            }
        });
        ASSERT_NO_FATAL_FAILURE(pkg.run(row.switches, 120000));
        EXPECT_EQ(row.msi == "failing" ? 17u : 0u, pkg.exitCode()) << pkg.errorsText();
        expectTraced(pkg.trace(), row.traced);
        EXPECT_EQ(!row.traced.empty(), exists(log));
        EXPECT_FALSE(exists(jvmDir17));  // left empty, so removed
        // The failure names msiexec's log (the code's meaning is the rule's, InstallerExit_test).
        const std::string errors = pkg.errorsText();
        const size_t failure = errors.find("Unable to install JDK 17. The JVM installer jdk.msi "
                                           "ended with exit code 1603 (");
        EXPECT_EQ(row.msi == "failing", failure != std::string::npos &&
                                            errors.find("). Its log is " + log + ".", failure) !=
                                                std::string::npos);
    }
}

} // namespace
