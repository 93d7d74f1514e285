// The example packages of examples/, run as a user runs them: each one's own qrv.control and
// manifest in a package directory with the built launcher, on a machine that has just the JVMs
// (stand-ins) its road is about, against the prefix's real registry. What the guide says of each
// example is checked here: the checker finds no error in it, and the wizard starts on the JVM the
// road leads to, with the arguments the guide gives.
#include "support/Package.h"
#include "system/SystemSupport.h"
#include "util/SystemDll.h"

#include <windows.h>

#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

constexpr DWORD RunLimitMs = 120000;

// A stand-in JVM registered on the machine before the run.
struct Registered {
    const char* key;           // under HKEY_LOCAL_MACHINE; its JavaHome names the home
    const char* microVersion;  // "" for none
    const char* home;          // below the test's directory
    const char* reported;      // what its test run reports
    size_t starts;             // its test run, and the wizard when it is the one taken
};

// What the package carries besides the example's files.
enum class Packaged { Nothing, Expander, VendorInstaller, WindowsInstaller, Runtime };

struct ExampleRow {
    const char* example;  // examples/<example>
    std::vector<Registered> jvms;
    Packaged packaged;
    const char* packagedFile;  // its name in the package, as the control file gives it
    const char* wizardHome;    // below the test's directory: the JVM the wizard starts on
    std::vector<std::string> wizardArgs;
    std::vector<std::string> errors;  // errors.log of the successful run
};

const char* const Rejected = "Jvm isn't installed properly.";

const ExampleRow exampleRows[] = {
    {"modern",
     {{"SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8", "0", "jre1.8.0_392", "1.8.0_392", 1},
      {"SOFTWARE\\JavaSoft\\JDK\\17.0.2", "", "jdk-17.0.2", "17.0.2", 2}},
     Packaged::Nothing, "", "jdk-17.0.2",
     {"-cp", ".;install.jar", "SampleWizard"},
     {Rejected}},
    {"expand", {}, Packaged::Expander, "jre17-expand.exe", "pf\\Example\\jre17",
     {"-cp", ".;install.jar", "SampleWizard"},
     {}},
    {"vendor", {}, Packaged::VendorInstaller, "jre8-setup.exe", "pf\\Java\\jre1.8.0_392",
     {"-cp", ".;install.jar", "SampleWizard"},
     {}},
    {"vendor-msi", {}, Packaged::WindowsInstaller, "jdk-17-x64.msi", "pf\\StandinJdk\\jdk-17.0.2",
     {"-cp", ".;install.jar", "SampleWizard"}, {}},
    {"bundled", {{"SOFTWARE\\JavaSoft\\JDK\\21.0.1", "", "jdk-21.0.1", "21.0.1", 0}},
     Packaged::Runtime, "", "package\\runtime", {"-cp", ".;install.jar", "SampleWizard"}, {}},
    {"legacy",
     {{"SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6", "0", "jre1.6.0_20", "1.6.0_20", 1},
      {"SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.4", "2", "j2re1.4.2_19", "1.4.2_19", 2}},
     Packaged::Nothing, "", "j2re1.4.2_19",
     {"-Xmx64m", "-classpath", ".;install.jar", "SampleWizard"},
     {Rejected}},
};

TEST(Examples, EachExamplePackageStartsTheWizardOnTheJvmOfItsRoad)
{
    const std::string examples = programDir() + "\\examples";
    for (const ExampleRow& row : exampleRows) {
        SCOPED_TRACE(row.example);
        TempDir dir;
        const std::string programFiles = dir / "pf";
        makeDirs(programFiles);
        const MachineWithoutJvms machine(programFiles);
        for (const Registered& jvm : row.jvms) {
            placeStandinJvm(dir / jvm.home + "\\bin", jvm.reported);
            setRegString(HKEY_LOCAL_MACHINE, jvm.key, "JavaHome", dir / jvm.home);
            if (*jvm.microVersion != '\0')
                setRegString(HKEY_LOCAL_MACHINE, jvm.key, "MicroVersion", jvm.microVersion);
        }

        Package pkg(dir / "package");
        const std::string& package = pkg.dir();
        const std::string source = examples + "\\" + row.example;
        makeDirs(pkg / "META-INF");
        copyFile(source + "\\qrv.control", pkg / "qrv.control");
        copyFile(source + "\\META-INF\\MANIFEST.MF", pkg / "META-INF\\MANIFEST.MF");
        for (const char* file : {"cleanup.exe", "install.jar", "TestJvm.class"})
            pkg.copyBuilt(file);
        if (row.packaged == Packaged::Runtime)
            placeStandinJvm(pkg / "runtime\\bin", "17.0.9");
        if (row.packaged == Packaged::Expander)
            pkg.expander(row.packagedFile, "version=17.0.9\nlayout=bin\n");
        // A Java 8 installer puts the JVM into a folder of its own choice and registers it.
        const EnvOverride vendorIni("QRV_FAKEVENDOR_INI", row.packaged == Packaged::VendorInstaller
                                                              ? dir / "vendor.ini"
                                                              : "");
        if (row.packaged == Packaged::VendorInstaller) {
            pkg.copyBuilt("fakevendor.exe", row.packagedFile);
            makeDirs(dir / "pf\\Java");  // the stand-in creates only the home itself
            writeFile(dir / "vendor.ini", "jvm=" + builtProgram("fakejvm.exe") +
                                              "\nversion=1.8.0_392\nmode=registry\ntarget=" +
                                              (dir / row.wizardHome) + "\n");
        }

        const std::string msi = builtProgram("msi\\machine.msi");
        if (row.packaged == Packaged::WindowsInstaller)
            copyFile(msi, pkg / row.packagedFile);  // installed by the system's msiexec
        // The package author's checker finds no error in the package as it ships.
        const RunResult check =
            runProgram("\"" + builtProgram("qrv-check.exe") + "\" --quiet \"" + package + "\"",
                       dir.path());
        EXPECT_TRUE(check.finished && check.exitCode == 0) << check.exitCode;
        // What the system's msiexec installed goes whatever the outcome, or it would stay.
        const AtScopeEnd uninstall([&] {
            if (row.packaged == Packaged::WindowsInstaller) {
                EXPECT_EQ(0u, runProgram("\"" + systemFilePath("msiexec.exe") + "\" /x \"" + msi +
                                             "\" /qn", dir.path()).exitCode);
            }
        });
        // A quiet install (no box can hold the run up) into a folder of the user's.
        ASSERT_NO_FATAL_FAILURE(pkg.run("-q C:\\Example", RunLimitMs));
        const std::string errorsLog = pkg.errorsText();
        EXPECT_EQ(0u, pkg.exitCode()) << errorsLog;

        // The test run, then the wizard, in the package directory; the windowed program, since
        // the package holds no trace log of the user's.
        const auto starts = jvmStarts(dir / row.wizardHome + "\\bin");
        // A failed run keeps its trace.
        ASSERT_EQ(2u, starts.size()) << errorsLog << readTextFile(package + "\\jinstall.log");
        EXPECT_EQ(startLines(package, {"javaw.exe", "-cp", ".", "TestJvm", package}), starts[0]);
        EXPECT_EQ((std::vector<std::string>{package}), linesStartingWith(starts[1], "cwd="));
        EXPECT_EQ((std::vector<std::string>{"javaw.exe"}),
                  linesStartingWith(starts[1], "program="));
        std::vector<std::string> wizardArgs = row.wizardArgs;
        wizardArgs.insert(wizardArgs.end(), {"-q", "C:\\Example"});
        EXPECT_EQ(wizardArgs, linesStartingWith(starts[1], "arg="));
        for (const Registered& jvm : row.jvms) {
            EXPECT_EQ(jvm.starts, jvmStarts(dir / jvm.home + "\\bin").size()) << jvm.home;
        }
        EXPECT_EQ(row.errors, pkg.errors());
        // The manifest takes the packaged JVM away with the package's other large files.
        if (*row.packagedFile != '\0') {
            EXPECT_FALSE(exists(package + "\\" + row.packagedFile));
        }
        if (row.packaged == Packaged::Expander) {
            EXPECT_FALSE(keyExists(JavaSoftKey)) << "configureWinRegistry=false";
        }
    }
}

} // namespace
