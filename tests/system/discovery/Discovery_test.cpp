// The built launcher on machines whose only JVMs are of today's kinds (registered by Java 9 and
// later or by a distribution, per user, or known only from JAVA_HOME), and in folders named in any
// script. Runs against the prefix's real registry; the machine's JVM keys are put back afterwards.
#include "jvm/discovery/JvmSupport.h"
#include "support/Package.h"
#include "system/SystemSupport.h"
#include "util/Handle.h"
#include "util/Registry.h"
#include "util/Wide.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

struct Registration {
    HKEY root;             // null: the home is JAVA_HOME's
    const char* key;
    const char* value;
    const char* home;      // below the test's directory
    const char* reported;  // what its test run reports
    size_t starts;         // runs it sees when the wizard starts on another JVM
    bool x86 = false;      // its programs are marked as 32-bit ones
    // Its home registered in quotes: no form can be handed on (as without short names, here).
    bool quoted = false;
};

struct MachineRow {
    const char* machine;
    std::vector<Registration> jvms;
    const char* bundled;  // the version of the package's runtime\, "" for none
    const char* control;
    const char* wizardHome;  // "" when no JVM fits
    const char* logged;      // a line errors.log must hold; "": errors.log stays empty
    bool userTrace = false;  // a trace log of the user's there: java.exe, not javaw.exe, runs
};

const Registration Jdk17 = {HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17.0.2", "JavaHome",
                            "jdk17", "17.0.2", 0};

const MachineRow machineRows[] = {
    {"Temurin installed for the user only",
     {{HKEY_CURRENT_USER, "SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", "Path",
       "jdk-17.0.9.9-hotspot", "17.0.9", 0}},
     "", "jvmMinVersion=17\r\n", "jdk-17.0.9.9-hotspot", ""},
    {"a 32-bit Zulu",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Azul Systems\\Zulu 32-bit\\zulu-8",
       "InstallationPath", "zulu8", "1.8.0_392", 0}},
     "", "jvmRequiredVersion=1.8\r\n", "zulu8", ""},
    {"a legacy 1.6 runtime and a JDK 17",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6", "JavaHome",
       "jre16", "1.6.0_20", 0},
      Jdk17},
     "", "jvmMinVersion=1.4\r\n", "jre16", ""},
    {"Java 9 and 17",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JRE\\9.0.4", "JavaHome", "jre9", "9.0.4", 1},
      Jdk17},
     "", "jvmMinVersion=11\r\n", "jdk17", "Jvm isn't installed properly."},
    // Without a test class the JVM is asked for its version.
    {"a version-less JAVA_HOME, java.exe asked under a trace log of the user's",
     {{nullptr, "", "", "jdk11", "11.0.2", 0}}, "", "jvmMinVersion=11\r\njvmCommandName=java\r\n",
     "jdk11", "", true},
    {"a version-less JAVA_HOME that the legacy search turned down",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6", "JavaHome",
       "jdk6", "1.6.0_20", 0},
      {nullptr, "", "", "jdk6", "1.6.0_20", 0}},
     "", "jvmMinVersion=11\r\njvmCommandName=java\r\n", "",
     "jdk6 (1.6): older than jvmMinVersion"},
    {"a version-less JAVA_HOME too old, asked",
     {{nullptr, "", "", "jdk6", "1.6.0_20", 1}}, "",
     "jvmMinVersion=11\r\njvmCommandName=java\r\njvmDownloadUrl=https://example.org/java\r\n",
     "", "jdk6 (1.6.0_20): older than jvmMinVersion"},
    {"a 32-bit runtime under jvmArchitecture=x64",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JRE\\11.0.2", "JavaHome", "jre11", "11.0.2", 0,
       true}},
     "", "jvmMinVersion=11\r\njvmArchitecture=x64\r\n", "", "jre11: wrong architecture"},
    {"a runtime passed over whose program cannot be handed on",
     {{HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6", "JavaHome",
       "\xCE\xA3jre16", "1.6.0_20", 0, false, true}},
     "", "jvmMinVersion=1.4\r\n", "", "jre16\": folder name cannot be handed to Java"},
    {"the package's runtime before a registered JDK", {Jdk17}, "17.0.1",
     "jvmMinVersion=11\r\njvmBundledDir=runtime\r\n", "package\\runtime", ""},
    {"the package's runtime too old, then the registry", {Jdk17}, "1.6.0_20",
     "jvmMinVersion=11\r\njvmBundledDir=runtime\r\n", "jdk17", "Jvm isn't installed properly."},
    {"the package's runtime alone", {}, "17.0.1",
     "jvmMinVersion=17\r\njvmBundledDir=runtime\r\n", "package\\runtime", ""},
};

void installJvm(const std::string& home, const std::string& version, bool x86)
{
    placeStandinJvm(home + "\\bin", version);
    if (x86) {
        for (const char* program : {"java.exe", "javaw.exe"})
            jvmtest::markAs32Bit(home + "\\bin\\" + program);
    }
}

TEST(Discovery, TodaysJvmsAreFoundAndTheWizardStartsOnThem)
{
    // The user's own options reach the wizard, never a check of a JVM.
    const EnvOverride options("_JAVA_OPTIONS", "-Duser.own=1");
    // Output files of version questions a run ended half way left: two days old, and new.
    char temp[MAX_PATH + 1];
    const std::string stale = std::string(temp, GetTempPathA(sizeof temp, temp)) + "qrvDEAD.tmp";
    const std::string fresh = std::string(temp) + "qrvBEEF.tmp";
    writeFile(fresh, "");
    writeFile(stale, "");
    Handle file(CreateFileA(stale.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                            0, nullptr));
    ULARGE_INTEGER old{};
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&old));
    old.QuadPart -= 2ull * 24 * 3600 * 10000000;
    SetFileTime(file.get(), nullptr, nullptr, reinterpret_cast<FILETIME*>(&old));
    file.close();
    for (const MachineRow& row : machineRows) {
        SCOPED_TRACE(row.machine);
        TempDir dir;
        const MachineWithoutJvms machine;
        std::string javaHome;
        for (const Registration& jvm : row.jvms) {
            const std::string home = dir / jvm.home;
            installJvm(home, jvm.reported, jvm.x86);
            if (jvm.root != nullptr)
                setRegString(jvm.root, jvm.key, jvm.value, jvm.quoted ? '"' + home + '"' : home);
            else
                javaHome = home;
        }
        const EnvOverride javaHomeValue("JAVA_HOME", javaHome);

        Package package(dir / "package");
        if (*row.bundled != '\0')
            installJvm(package / "runtime", row.bundled, false);
        package.wizardFiles(row.control);
        package.put("jvmVersion.txt", "the author's own\n");
        if (row.userTrace)
            package.put("jinstall.log", "");
        // Without the test class a JVM whose version nothing tells is asked for it.
        if (std::string(row.control).find("jvmCommandName") != std::string::npos)
            std::remove((package / "TestJvm.class").c_str());
        ASSERT_NO_FATAL_FAILURE(package.run("-q C:\\Target", 60000, DETACHED_PROCESS));

        const std::string log = package.errorsText();
        if (*row.logged == '\0')
            EXPECT_EQ("", log);
        else
            EXPECT_NE(std::string::npos, log.find(row.logged)) << log;
        EXPECT_EQ("the author's own\n", readFile(package / "jvmVersion.txt"));
        // No check has a console window; a wizard has one only as the console program java.exe.
        for (const Registration& jvm : row.jvms) {
            if (std::string(jvm.home) != row.wizardHome) {
                const auto starts = jvmStarts(dir / jvm.home + "\\bin");
                EXPECT_EQ(jvm.starts, starts.size()) << jvm.home;
                for (const RecordedStart& start : starts)
                    EXPECT_TRUE(linesStartingWith(start, "console=").empty());
            }
        }
        if (*row.wizardHome == '\0') {
            EXPECT_EQ(17u, package.exitCode());
            const std::string trace = readTextFile(package / "jinstall.log");
            EXPECT_EQ(std::string::npos, trace.find("user.own")) << "an option's value traced";
            EXPECT_EQ(row.jvms.back().starts > 0,  // a check ran
                      trace.find("jvm check: _JAVA_OPTIONS\n") != std::string::npos);
            continue;
        }
        const auto starts = jvmStarts(dir / row.wizardHome + "\\bin");
        ASSERT_EQ(2u, starts.size()) << "the check, then the wizard\n" << log;
        EXPECT_TRUE(linesStartingWith(starts[0], "options=").empty());
        EXPECT_EQ((std::vector<std::string>{"-Duser.own=1"}), linesStartingWith(starts[1], "options="));
        EXPECT_TRUE(linesStartingWith(starts[0], "console=").empty());
        EXPECT_EQ(std::vector<std::string>(row.userTrace ? 1 : 0, "window"),
                  linesStartingWith(starts[1], "console="));
        EXPECT_EQ((std::vector<std::string>{".;install.jar", "-q", "C:\\Target"}),
                  linesStartingWith(starts[1], "arg="));
        // The package's runtime is used where it lies, neither registered nor removed.
        const bool bundled = std::string(row.wizardHome).find("runtime") != std::string::npos;
        EXPECT_EQ(bundled, linesStartingWith(starts[1], "native=configureWinRegistry=") ==
                               std::vector<std::string>{"false"});
        if (row.jvms.empty()) {
            EXPECT_FALSE(RegKey().open(HKEY_LOCAL_MACHINE, JavaSoftKey, KEY_READ));
        }
    }
    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(exists(fresh));
    DeleteFileA(fresh.c_str());
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
            placeStandinJvm(home + "\\bin", "17.0.2");
        }
        if (road == "registry")
            setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17", "JavaHome", home);
        const EnvOverride javaHome("JAVA_HOME", road == "JAVA_HOME" ? home : "");
        makeDirs(user + "\\Temp");
        const EnvOverride temp("TEMP", user + "\\Temp");

        Package package(user + "\\Downloads\\app");
        package.expander("jre131.exe", "");
        package.copyBuilt("fakevendor.exe", "vendor.exe");
        writeFile(dir / "vendor.ini", "jvm=" + builtProgram("fakejvm.exe") + "\nmode=subdir\n");
        const EnvOverride vendorIni("QRV_FAKEVENDOR_INI", dir / "vendor.ini");
        const std::string jvmDir = "predefinedJvmInstallDir=" + forwardSlashes(home) + "\r\n";
        package.wizardFiles(row.control + (road == "expansion" ? jvmDir : ""));
        ASSERT_NO_FATAL_FAILURE(package.run("-q C:\\Target"));
        EXPECT_EQ(0u, package.exitCode()) << package.errorsText();

        const auto starts = jvmStarts(home + "\\bin");
        ASSERT_EQ(2u, starts.size()) << "the test run, then the wizard";
        const std::string native = linesStartingWith(starts[1], "native=").at(0);
        const std::string handedHome = native.substr(native.find('=') + 1);
        EXPECT_TRUE(namesFolder(handedHome, home)) << handedHome;
        std::string wholePackage, wholeHome;
        if (encodeExactly(widen(package.dir().c_str()).c_str(), 1252, wholePackage) &&
            encodeExactly(widen(forwardSlashes(home).c_str()).c_str(), 1252, wholeHome)) {
            EXPECT_EQ(wholePackage, linesStartingWith(starts[0], "arg=").back())
                << "handed on as it is where the code page holds it";
            EXPECT_EQ(wholeHome, handedHome);
        }
    }
}

// A package below a folder whose letters the code page holds, also code page 932 (where the
// second byte of the first letter is a backslash's): its own runtime is named in native.properties
// in that code page's bytes, and a JVM expanded into it is found and removed after the wizard.
TEST(Discovery, APackageInAFolderOfTheCodePageNamesAndRemovesItsJvmWhole)
{
    const UINT codePage = legacyCodePage();
    const std::string folder =
        codePage == 932 ? "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88" : "J\xC3\xBCrgen\\Caf\xC3\xA9";
    for (const bool bundled : {true, false}) {
        TempDir dir;
        makeDirs(dir / folder + "\\pf");
        const MachineWithoutJvms machine(dir / folder + "\\pf");
        Package package(dir / folder + "\\app");
        placeStandinJvm(package / "runtime\\bin", "17.0.1");
        package.expander("jre131.exe", "");
        const std::string appDir = "predefinedJvmInstallDir=[$AppDir]\\jvm\r\n";
        package.wizardFiles(bundled ? "jvmMinVersion=11\r\njvmBundledDir=runtime\r\n"
                                    : std::string(expanded) + appDir);
        ASSERT_NO_FATAL_FAILURE(package.run("-q C:\\Target"));
        EXPECT_EQ(0u, package.exitCode()) << package.errorsText();
        EXPECT_FALSE(exists(package / "jvm"));
        // The folder's letters in the code page's own bytes: "\x5C" is a backslash's byte.
        const std::string home = forwardSlashes(dir.path()) + "/" +
                                 (codePage == 932 ? "\x83\x5C\x83\x74\x83\x67"
                                                  : "J\xFCrgen/Caf\xE9") + "/app/runtime";
        const auto wizards = wizardStarts(package / "runtime\\bin");
        ASSERT_EQ(bundled ? 1u : 0u, wizards.size());
        for (const RecordedStart& wizard : wizards)
            EXPECT_EQ("nativeJvmHomeDir=" + home, linesStartingWith(wizard, "native=").at(0));
    }
}

} // namespace
