// The built launcher on machines whose only JVMs are of today's kinds: registered by Java 9 and
// later or by a distribution, per user, or known only from JAVA_HOME. Runs against the prefix's
// real registry; the machine's JVM keys are put back afterwards.
#include "support/Package.h"
#include "system/SystemSupport.h"

#include <windows.h>

#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

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

TEST(Discovery, TodaysJvmsAreFoundAndTheWizardStartsOnThem)
{
    for (const MachineRow& row : machineRows) {
        SCOPED_TRACE(row.machine);
        TempDir dir;
        const MachineWithoutJvms machine;
        for (const Registration& jvm : row.jvms) {
            placeStandinJvm(dir / jvm.home + "\\bin", jvm.reported);
            setRegString(jvm.root, jvm.key, jvm.value, dir / jvm.home);
        }
        if (*row.javaHome != '\0')
            placeStandinJvm(dir / row.javaHome + "\\bin", "11.0.2");
        const EnvOverride javaHome("JAVA_HOME", *row.javaHome != '\0' ? dir / row.javaHome : "");

        Package package(dir / "package");
        package.wizardFiles(row.control);
        ASSERT_NO_FATAL_FAILURE(package.run("-q C:\\Target"));

        const auto starts = jvmStarts(dir / row.wizardHome + "\\bin");
        ASSERT_EQ(2u, starts.size()) << "the test run, then the wizard\n" << package.errorsText();
        EXPECT_EQ((std::vector<std::string>{".;install.jar", "-q", "C:\\Target"}),
                  linesStartingWith(starts[1], "arg="));
        for (const Registration& jvm : row.jvms) {
            if (std::string(jvm.home) != row.wizardHome) {
                EXPECT_EQ(jvm.starts, jvmStarts(dir / jvm.home + "\\bin").size()) << jvm.home;
            }
        }
    }
}

} // namespace
