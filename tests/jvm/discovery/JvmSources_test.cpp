// The search beyond the JavaSoft product keys, in scratch registry roots with stand-in JVMs.
#include "install/Install.h"
#include "jvm/discovery/FindJvm.h"
#include "util/Registry.h"

#include "jvm/discovery/JvmSupport.h"

#include <algorithm>

using namespace qrvtest;
using namespace jvmtest;

namespace {

void setRegDword(HKEY root, const std::string& key, const char* name, DWORD value)
{
    RegKey handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, handle.receive(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(handle.get(), name, 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&value), sizeof value));
}

// A JVM home in the test's directory with the stand-in JVM in its "bin"; `release`, when given,
// is the JAVA_VERSION of its release file.
std::string makeHome(const TempDir& dir, const std::string& name, const std::string& reported,
                     const std::string& release = "", const std::string& testRun = "good")
{
    const std::string home = dir / name;
    makeDirs(home);
    installFakeJvm(home + "\\bin", "java.exe", reported, testRun);
    if (!release.empty())
        writeFile(home + "\\release", "IMPLEMENTOR=\"x\"\nJAVA_VERSION=\"" + release + "\"\n");
    return home;
}

class OtherSources : public InTempDirWithRegistry {
protected:
    OtherSources()
    {
        createTraceLog();
        copyTestClass();
    }

    bool search(const char* required, const char* minimum, const char* jvmName = "JRE")
    {
        FindJvm finder;
        return finder.isJvmInstalled(required, minimum, "", jvmName, command, path);
    }

    std::vector<std::string> trace() const { return logMessages("jinstall.log"); }

    char command[5001] = "java.exe";
    char path[5001] = "";
};

// One row a family: a machine with only that JVM finds it (the system tests start the wizard on
// today's kinds).
struct FamilyRow {
    const char* family;
    HKEY root;
    const char* key;
    const char* value;
    const char* before;  // the value's text is before + home + after
    const char* after;
    const char* reported;
    const char* release;   // JAVA_VERSION of the release file, "" for none
    const char* required;
    const char* minimum;
};

const FamilyRow familyRows[] = {
    {"JavaSoft JDK", HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17.0.2", "JavaHome", "", "",
     "17.0.2", "", "", "11"},
    {"JavaSoft JRE", HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JRE\\9.0.4", "JavaHome", "", "",
     "9.0.4", "", "", "9"},
    // Temurin writes its home with a trailing backslash.
    {"Temurin", HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI",
     "Path", "", "\\", "17.0.9", "", "17.0.9", ""},
    {"Temurin per user", HKEY_CURRENT_USER,
     "SOFTWARE\\Eclipse Adoptium\\JRE\\21.0.1.12\\hotspot\\EXE", "Path", "", "\\", "21.0.1", "",
     "", "17"},
    {"AdoptOpenJDK", HKEY_LOCAL_MACHINE, "SOFTWARE\\AdoptOpenJDK\\JDK\\8.0.392.8\\hotspot\\MSI",
     "Path", "", "\\", "1.8.0_392", "", "1.8.0_392", ""},
    {"Eclipse Foundation", HKEY_LOCAL_MACHINE,
     "SOFTWARE\\Eclipse Foundation\\JDK\\11.0.16.8\\hotspot\\MSI", "Path", "", "", "11.0.16", "",
     "11.0.16", ""},
    {"Semeru", HKEY_LOCAL_MACHINE, "SOFTWARE\\Semeru\\JRE\\8.0.382.5\\openj9\\MSI", "Path",
     "", "\\", "1.8.0_382", "", "1.8", ""},
    {"Microsoft", HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\JDK\\17.0.13.11\\hotspot\\MSI",
     "Path", "", "\\", "17.0.13", "", "", "17"},
    {"Microsoft per user", HKEY_CURRENT_USER,
     "SOFTWARE\\Microsoft\\JDK\\21.0.5.11\\hotspot\\MSI", "Path", "", "\\", "21.0.5", "",
     "", "21"},
    {"Zulu, quoted home", HKEY_LOCAL_MACHINE, "SOFTWARE\\Azul Systems\\Zulu\\zulu-17",
     "InstallationPath", "\"", "\\\"", "17.0.8", "17.0.8", "17.0.8", ""},
    {"Zulu 32-bit", HKEY_LOCAL_MACHINE,
     "SOFTWARE\\Wow6432Node\\Azul Systems\\Zulu 32-bit\\zulu-8", "InstallationPath", "", "",
     "1.8.0_392", "", "1.8", ""},
    // The release file says more than the key name.
    {"Liberica", HKEY_LOCAL_MACHINE, "SOFTWARE\\BellSoft\\Liberica\\jdk-8", "InstallationPath",
     "", "", "1.8.0_392", "1.8.0_392", "1.8.0_392", ""},
    {"SapMachine", HKEY_LOCAL_MACHINE, "SOFTWARE\\SapMachine\\JDK\\17.0.9", "JavaHome", "", "",
     "17.0.9", "", "", "17"},
};

TEST_F(OtherSources, EachFamilyAloneIsFound)
{
    for (const FamilyRow& row : familyRows) {
        SCOPED_TRACE(row.family);
        // The scratch roots hold this row's JVM only.
        deleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE");
        deleteRegTree(HKEY_CURRENT_USER, "SOFTWARE");
        const std::string home =
            makeHome(dir, "home " + std::to_string(&row - familyRows), row.reported, row.release);
        setRegString(row.root, row.key, row.value, row.before + home + row.after);
        if (std::string(row.key).find("Eclipse Adoptium") != std::string::npos)
            setRegDword(row.root, row.key, "JavaHome", 1);  // a flag, never the home
        EXPECT_TRUE(search(row.required, row.minimum)) << readTextFile("jinstall.log");
        EXPECT_EQ(home + "\\bin\\java.exe", std::string(path));
    }
}

TEST_F(OtherSources, LegacySearchComesFirst)
{
    // A 1.6 runtime under the old product key wins over a newer JDK under JavaSoft\JDK.
    const std::string old = makeHome(dir, "jre16", "1.6.0_20");
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6",
                 "JavaHome", old);
    const std::string jdk = makeHome(dir, "jdk17", "17.0.2");
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17", "JavaHome", jdk);
    EXPECT_TRUE(search("", "1.4"));
    EXPECT_EQ(old + "\\bin\\java.exe", std::string(path));
    EXPECT_TRUE(jvmStarts(jdk + "\\bin").empty());
    EXPECT_EQ(0u, count(trace(), "searching other jvm locations"));
}

TEST_F(OtherSources, VersionsCompareAsNumbers)
{
    // 9.0.4 is tried first (runtimes before kits) and rejected by MIN = 11; 17.0.2 is taken.
    const std::string nine = makeHome(dir, "jre9", "9.0.4");
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JRE\\9.0.4", "JavaHome", nine);
    const std::string seventeen = makeHome(dir, "jdk17", "17.0.2");
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17.0.2", "JavaHome", seventeen);
    EXPECT_TRUE(search("", "11"));
    EXPECT_EQ(seventeen + "\\bin\\java.exe", std::string(path));
    EXPECT_EQ(1u, jvmStarts(nine + "\\bin").size());
    const auto lines = trace();
    EXPECT_EQ(1u, count(lines, "SOFTWARE\\JavaSoft\\JRE registry entry had correct jvm info: false"));
    EXPECT_EQ(1u, count(lines, "SOFTWARE\\JavaSoft\\JDK registry entry had correct jvm info: true"));
    EXPECT_EQ(1u, count(lines, "found jvm " + seventeen + "\\bin\\java.exe"));
}

TEST_F(OtherSources, TrapsAndStaleKeysAreSkipped)
{
    // Temurin's DWORD JavaHome is no home; a key left behind names a home that is gone; a second
    // key, JAVA_HOME and PATH leading to one home test it once. The last candidate is taken.
    setRegDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.1.12\\hotspot\\MSI",
                "JavaHome", 1);
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Azul Systems\\Zulu\\zulu-21", "InstallationPath",
                 dir / "uninstalled");
    const std::string bad = makeHome(dir, "bad", "17.0.1", "", "nothing");
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\SapMachine\\JDK\\17.0.1", "JavaHome", bad);
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\SapMachine\\JDK\\17", "JavaHome", bad + "\\");
    std::string lowerBad = bad;
    std::transform(lowerBad.begin(), lowerBad.end(), lowerBad.begin(), ::tolower);
    EnvOverride javaHome("JAVA_HOME", lowerBad);
    const std::string good = makeHome(dir, "good", "17.0.3", "17.0.3");
    EnvOverride jdkHome("JDK_HOME", good);

    EXPECT_TRUE(search("", "17"));
    EXPECT_EQ(good + "\\bin\\java.exe", std::string(path));
    EXPECT_EQ(1u, jvmStarts(bad + "\\bin").size()) << "one home, one test run";
    const auto lines = trace();
    EXPECT_EQ(1u, count(lines, "no home directory for jvm"));
    EXPECT_EQ(1u, count(lines, "no such jvm home: " + (dir / "uninstalled")));
    EXPECT_EQ(1u, count(lines, "jvm home already tested: " + bad));
    EXPECT_EQ(1u, count(lines, "jvm home already tested: " + lowerBad));
    EXPECT_EQ(1u, count(lines, "JAVA_HOME had correct jvm info: false"));
    EXPECT_EQ(1u, count(lines, "JDK_HOME had correct jvm info: true"));
}

TEST_F(OtherSources, JavaHomeAlone)
{
    // No release file: the test run alone judges the version.
    const std::string home = makeHome(dir, "jdk", "11.0.2");
    EnvOverride javaHome("JAVA_HOME", "\"" + home + "\"");
    EXPECT_FALSE(search("", "17"));
    EXPECT_STREQ("java.exe", command);
    EXPECT_TRUE(search("", "11"));
    EXPECT_EQ(home + "\\bin\\java.exe", std::string(path));
    EXPECT_EQ(2u, count(trace(), "no known version for jvm in: " + home));  // both searches
}

TEST_F(OtherSources, PathAloneSkipsJavapathFolders)
{
    const std::string javapath = dir / "Oracle\\Java\\javapath";
    makeDirs(javapath);
    installFakeJvm(javapath, "java.exe", "17.0.2");
    const std::string home = makeHome(dir, "jdk", "17.0.2", "17.0.2");
    char system[MAX_PATH];
    ASSERT_NE(0u, GetSystemDirectoryA(system, sizeof system));
    EnvOverride pathValue("PATH", javapath + ";" + system + ";;\"" + home + "\\bin\\\"");
    EXPECT_TRUE(search("", "17"));
    EXPECT_EQ(home + "\\bin\\java.exe", std::string(path));
    EXPECT_TRUE(jvmStarts(javapath).empty());
    const auto lines = trace();
    EXPECT_EQ(1u, count(lines, "skipping PATH entry " + javapath));
    EXPECT_EQ(1u, count(lines, "skipping PATH entry " + std::string(system)));
    EXPECT_EQ(1u, count(lines, "testing jvm in: " + home));
}

// The plug-in search and a switched-off search look no further than the legacy keys; the
// ordinary search and the default setting find the JVM of JAVA_HOME.
TEST_F(OtherSources, PluginSearchAndSwitchedOffSearchLookNoFurther)
{
    const std::string home = makeHome(dir, "jdk", "17.0.2", "17.0.2");
    EnvOverride javaHome("JAVA_HOME", home);
    for (const bool further : {false, true}) {
        SCOPED_TRACE(further ? "the ordinary search" : "the plug-in search, then none");
        createTraceLog();
        writeFile("install.jar", "");
        EXPECT_EQ(further, search("", "1.4", further ? "JRE" : "Java Plug-in"));
        EXPECT_EQ(further ? 1u : 0u, count(trace(), "searching other jvm locations"));
        writeFile("qrv.control", further ? "jvmMinVersion=1.4\njvmCommandName=java.exe\n" : "searchForJvm=no\n");
        char details[] = "";
        EXPECT_EQ(further, startProgram(true, false, details, ""));
        EXPECT_EQ(further, !jvmStarts(home + "\\bin").empty());
    }
}

} // namespace
