// The built launcher on machines whose only JVMs are of today's kinds (registered by Java 9 and
// later or by a distribution, per user, or known only from JAVA_HOME), and in folders named in any
// script. Runs against the prefix's real registry; the machine's JVM keys are put back afterwards.
#include "jvm/discovery/JvmSupport.h"
#include "system/SystemSupport.h"
#include "util/Wide.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

constexpr DWORD RunLimitMs = 60000;

struct Registration {
    HKEY root;
    const char* key;
    const char* value;
    const char* home;      // below the test's directory
    const char* reported;  // what its test run reports
    size_t starts;         // test runs it sees when the wizard starts on another JVM
};

struct MachineRow {
    const char* machine;
    std::vector<Registration> jvms;
    const char* javaHome;  // below the test's directory, "" for none
    const char* control;
    const char* wizardHome;
};

const MachineRow machineRows[] = {
    {"Temurin installed for the user only",
     {{HKEY_CURRENT_USER, "SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", "Path",
       "jdk-17.0.9.9-hotspot", "17.0.9", 0}},
     "", "jvmMinVersion=17\r\n", "jdk-17.0.9.9-hotspot"},
    {"a 32-bit Zulu",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Azul Systems\\Zulu 32-bit\\zulu-8",
       "InstallationPath", "zulu8", "1.8.0_392", 0}},
     "", "jvmRequiredVersion=1.8\r\n", "zulu8"},
    {"a legacy 1.6 runtime and a JDK 17",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6", "JavaHome",
       "jre16", "1.6.0_20", 0},
      {HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17", "JavaHome", "jdk17", "17.0.2", 0}},
     "", "jvmMinVersion=1.4\r\n", "jre16"},
    {"Java 9 and 17",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JRE\\9.0.4", "JavaHome", "jre9", "9.0.4", 1},
      {HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17.0.2", "JavaHome", "jdk17", "17.0.2", 0}},
     "", "jvmMinVersion=11\r\n", "jdk17"},
    {"a JDK known only from JAVA_HOME", {}, "jdk11", "jvmMinVersion=11\r\n", "jdk11"},
};

// Lays out a package with the control text `control` in `package` and runs it quietly.
RunResult runPackage(const std::string& package, const std::string& control)
{
    makeDirs(package);
    copyFile(builtProgram("setup.exe"), package + "\\setup.exe");
    copyFile(builtProgram("TestJvm.class"), package + "\\TestJvm.class");
    writeFile(package + "\\install.jar", "");
    writeFile(package + "\\qrv.control", control);
    return runProgram("\"" + package + "\\setup.exe\" -q C:\\Target", package, RunLimitMs);
}

TEST(Discovery, TodaysJvmsAreFoundAndTheWizardStartsOnThem)
{
    for (const MachineRow& row : machineRows) {
        SCOPED_TRACE(row.machine);
        TempDir dir;
        const MachineWithoutJvms machine;
        std::vector<std::string> homes;
        for (const Registration& jvm : row.jvms) {
            const std::string home = dir / jvm.home;
            makeDirs(home);
            for (const char* program : {"java.exe", "javaw.exe"})
                jvmtest::installFakeJvm(home + "\\bin", program, jvm.reported);
            setRegString(jvm.root, jvm.key, jvm.value, home);
        }
        if (*row.javaHome != '\0') {
            makeDirs(dir / row.javaHome);
            for (const char* program : {"java.exe", "javaw.exe"})
                jvmtest::installFakeJvm(dir / row.javaHome + "\\bin", program, "11.0.2");
        }
        const EnvOverride javaHome("JAVA_HOME", *row.javaHome != '\0' ? dir / row.javaHome : "");

        const std::string package = dir / "package";
        ASSERT_TRUE(runPackage(package, row.control).finished);

        const std::string log = readTextFile(package + "\\errors.log");
        const auto starts = jvmtest::jvmStarts(dir / row.wizardHome + "\\bin");
        ASSERT_EQ(2u, starts.size()) << "the test run, then the wizard\n" << log;
        EXPECT_EQ((std::vector<std::string>{".;install.jar", "-q", "C:\\Target"}),
                  linesStartingWith(starts[1], "arg="));
        for (const Registration& jvm : row.jvms) {
            if (std::string(jvm.home) != row.wizardHome) {
                EXPECT_EQ(jvm.starts, jvmtest::jvmStarts(dir / jvm.home + "\\bin").size())
                    << jvm.home;
            }
        }
    }
}

// Whether `handed`, as a program reading it through code page 1252 sees it, names `path`.
bool namesFolder(std::string handed, const std::string& path)
{
    for (char& c : handed)
        c = c == '/' ? '\\' : c;
    wchar_t decoded[MAX_PATH * 4] = L"";
    wchar_t longForm[MAX_PATH * 4] = L"";
    return MultiByteToWideChar(1252, 0, handed.c_str(), -1, decoded, MAX_PATH * 4) > 0 &&
           GetLongPathNameW(decoded, longForm, MAX_PATH * 4) > 0 &&
           _wcsicmp(longForm, widen(path.c_str()).c_str()) == 0;
}

// A user folder named outside code page 1252 or within it, holding the package, JVM and TEMP.
struct ScriptRow {
    const char* road;  // registry, JAVA_HOME, expansion, vendor
    const char* user;
    const char* home;  // the JVM home below the user's folder
    const char* control;
};
const char* const chinese = "\xE5\xBC\xA0\xE4\xBC\x9F";
const char* const expanded = "jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\n"
                             "jvmInstallerType=selfExtratorJvmInstaller\r\n"
                             "jvmSelfExtractor=jre131.exe\r\nconfigureWinRegistry=false\r\n";
const char* const vendor = "jvmRequiredVersion=1.6\r\njvmVersion=1.6.0\r\n"
                           "jvmInstallerType=thirdPartyJvmInstaller\r\n"
                           "jvmInstallerBinary=vendor.exe\r\n"
                           "jvmInstallerCommand=vendor.exe/*/*/*/s\r\n";
const ScriptRow scriptRows[] = {
    {"registry", chinese, ".jdks\\jdk-17", "jvmMinVersion=17\r\n"},
    {"JAVA_HOME", chinese, ".jdks\\jdk-17", "jvmMinVersion=17\r\n"},
    {"expansion", chinese, "jre131", expanded},
    {"vendor", chinese, "pf\\JavaSoft\\JRE1.6\\1.6.0\\jre1.6.0", vendor},
    {"registry", "J\xC3\xBCrgen\\Caf\xC3\xA9", ".jdks\\jdk-17", "jvmMinVersion=17\r\n"},
};

TEST(Discovery, FoldersInAnyScriptReachTheJvmInAFormItCanRead)
{
    ASSERT_EQ(1252u, legacyCodePage()) << "the rows need a Western code page";
    for (const ScriptRow& row : scriptRows) {
        const std::string road = row.road;
        SCOPED_TRACE(road + " " + row.user);
        TempDir dir;
        const std::string user = dir / row.user;
        const std::string home = user + "\\" + row.home;
        makeDirs(user + "\\pf");
        const MachineWithoutJvms machine(user + "\\pf");
        if (road == "registry" || road == "JAVA_HOME") {
            makeDirs(home);
            for (const char* program : {"java.exe", "javaw.exe"})
                jvmtest::installFakeJvm(home + "\\bin", program, "17.0.2");
        }
        if (road == "registry")
            setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17", "JavaHome", home);
        const EnvOverride javaHome("JAVA_HOME", road == "JAVA_HOME" ? home : "");
        makeDirs(user + "\\Temp");
        const EnvOverride temp("TEMP", user + "\\Temp");

        const std::string package = user + "\\Downloads\\app";
        makeDirs(package);
        copyFile(builtProgram("fakeexpander.exe"), package + "\\jre131.exe");
        writeFile(package + "\\fakeexpander.ini", "jvm=" + builtProgram("fakejvm.exe") + "\n");
        copyFile(builtProgram("fakevendor.exe"), package + "\\vendor.exe");
        writeFile(dir / "vendor.ini", "jvm=" + builtProgram("fakejvm.exe") + "\nmode=subdir\n");
        const EnvOverride vendorIni("QRV_FAKEVENDOR_INI", dir / "vendor.ini");
        const std::string jvmDir = "predefinedJvmInstallDir=" + forwardSlashes(home) + "\r\n";
        const RunResult result =
            runPackage(package, row.control + (road == "expansion" ? jvmDir : ""));
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(0u, result.exitCode) << readTextFile(package + "\\errors.log");

        const auto starts = jvmtest::jvmStarts(home + "\\bin");
        ASSERT_EQ(2u, starts.size()) << "the test run, then the wizard";
        const std::string native = linesStartingWith(starts[1], "native=").at(0);
        const std::string handedHome = native.substr(native.find('=') + 1);
        EXPECT_TRUE(namesFolder(handedHome, home)) << handedHome;
        std::string wholePackage, wholeHome;
        if (encodeExactly(widen(package.c_str()).c_str(), 1252, wholePackage) &&
            encodeExactly(widen(forwardSlashes(home).c_str()).c_str(), 1252, wholeHome)) {
            EXPECT_EQ(wholePackage, linesStartingWith(starts[0], "arg=").back())
                << "handed on as it is where the code page holds it";
            EXPECT_EQ(wholeHome, handedHome);
        }
    }
}

} // namespace
