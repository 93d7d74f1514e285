// The built launcher on machines whose only JVMs are of today's kinds: registered by Java 9 and
// later or by a distribution, per user, or known only from JAVA_HOME. Runs against the prefix's
// real registry; the machine's JVM keys are put back afterwards.
#include "jvm/discovery/JvmSupport.h"
#include "support/Package.h"
#include "system/SystemSupport.h"
#include "util/Registry.h"

#include <windows.h>

#include <cstdio>
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
};

struct MachineRow {
    const char* machine;
    std::vector<Registration> jvms;
    const char* bundled;  // the version of the package's runtime\, "" for none
    const char* control;
    const char* wizardHome;  // "" when no JVM fits
    const char* logged;      // a line errors.log must hold, "" for none
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
     "", "jvmMinVersion=11\r\n", "jdk17", ""},
    {"a JDK known only from JAVA_HOME", {{nullptr, "", "", "jdk11", "11.0.2", 0}}, "",
     "jvmMinVersion=11\r\n", "jdk11", ""},
    // Without a test class the JVM is asked for its version.
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
    {"the package's runtime before a registered JDK", {Jdk17}, "17.0.1",
     "jvmMinVersion=11\r\njvmBundledDir=runtime\r\n", "package\\runtime", ""},
    {"the package's runtime too old, then the registry", {Jdk17}, "1.6.0_20",
     "jvmMinVersion=11\r\njvmBundledDir=runtime\r\n", "jdk17", ""},
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
    for (const MachineRow& row : machineRows) {
        SCOPED_TRACE(row.machine);
        TempDir dir;
        const MachineWithoutJvms machine;
        std::string javaHome;
        for (const Registration& jvm : row.jvms) {
            const std::string home = dir / jvm.home;
            installJvm(home, jvm.reported, jvm.x86);
            if (jvm.root != nullptr)
                setRegString(jvm.root, jvm.key, jvm.value, home);
            else
                javaHome = home;
        }
        const EnvOverride javaHomeValue("JAVA_HOME", javaHome);

        Package package(dir / "package");
        if (*row.bundled != '\0')
            installJvm(package / "runtime", row.bundled, false);
        package.wizardFiles(row.control);
        // Without the test class a JVM whose version nothing tells is asked for it.
        if (std::string(row.control).find("jvmCommandName") != std::string::npos)
            std::remove((package / "TestJvm.class").c_str());
        ASSERT_NO_FATAL_FAILURE(package.run("-q C:\\Target"));

        const std::string log = package.errorsText();
        EXPECT_NE(std::string::npos, log.find(row.logged)) << log;
        for (const Registration& jvm : row.jvms) {
            if (std::string(jvm.home) != row.wizardHome) {
                EXPECT_EQ(jvm.starts, jvmStarts(dir / jvm.home + "\\bin").size()) << jvm.home;
            }
        }
        if (*row.wizardHome == '\0') {
            EXPECT_EQ(17u, package.exitCode());
            continue;
        }
        const auto starts = jvmStarts(dir / row.wizardHome + "\\bin");
        ASSERT_EQ(2u, starts.size()) << "the check, then the wizard\n" << log;
        EXPECT_TRUE(linesStartingWith(starts[0], "options=").empty());
        EXPECT_EQ((std::vector<std::string>{"-Duser.own=1"}), linesStartingWith(starts[1], "options="));
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
}

} // namespace
