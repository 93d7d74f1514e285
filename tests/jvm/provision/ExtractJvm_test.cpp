#include <windows.h>

#include <direct.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "jvm/provision/ExtractJvm.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"
#include "util/clib.h"

using namespace qrvtest;

namespace {

const char* const JreEntry = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const JdkEntry = "SOFTWARE\\JavaSoft\\Java Development Kit";

std::string cwd()
{
    char buffer[PathCapacity];
    getCurrentDir(buffer, PathSize);
    return buffer;
}

std::string regValue(const std::string& key, const char* name)
{
    std::string text;
    return getRegString(HKEY_LOCAL_MACHINE, key, name, text) ? text : "<missing>";
}

// A package directory (the current directory) holding the stand-in expander as "jre131.exe",
// the test class for the final version test and a trace log; a Windows directory of its own;
// and a scratch registry.
class Extraction : public InTempDirWithRegistry {
protected:
    void SetUp() override { preparePackage(dir.path()); }

    void preparePackage(const std::string& path)
    {
        package = path;
        CreateDirectoryA(package.c_str(), nullptr);
        ASSERT_EQ(0, _chdir(package.c_str()));
        copyFile(builtProgram("fakeexpander.exe"), package + "\\jre131.exe");
        copyFile(builtProgram("TestJvm.class"), package + "\\TestJvm.class");
        expanderSettings("bin", "1.3.1");
        createTraceLog(package);
        windows = dir / "windows";
        CreateDirectoryA(windows.c_str(), nullptr);
        CreateDirectoryA((windows + "\\system").c_str(), nullptr);
        jvmDir = dir / "jvms\\1.3.1";
    }

    void expanderSettings(const std::string& layout, const std::string& version,
                          bool fail = false)
    {
        writeFile(package + "\\fakeexpander.ini",
                  "jvm=" + builtProgram("fakejvm.exe") + "\nversion=" + version +
                      "\nlayout=" + layout + "\nfail=" + (fail ? "1" : "0") + "\n");
    }

    bool extract(const std::string& predefined, const std::string& homeDir = "",
                 const char* jvmName = "JRE", const char* jvmVersion = "1.3.1")
    {
        copyText(commandName, sizeof commandName, program.c_str());
        jvmCommand[0] = '\0';
        return jvm.extractJvm("", "1.1", "", jvmVersion, jvmName, commandName, "jvm/jre131.exe",
                              predefined.c_str(), homeDir.c_str(), jvmCommand, windows.c_str());
    }

    // The current directories in which the expander was started; it must get no argument, not
    // even an empty one (a command line that ends in a blank).
    std::vector<std::string> expanderStarts()
    {
        std::vector<std::string> starts;
        const std::string record = package + "\\fakeexpander.record";
        if (!exists(record))
            return starts;
        for (const std::string& line : readLines(record)) {
            if (line.compare(0, 4, "cwd=") == 0)
                starts.push_back(line.substr(4));
            else if (line.compare(0, 4, "arg=") == 0)
                starts.push_back("unexpected " + line);
            else if (line.compare(0, 12, "commandline=") == 0 &&
                     line.find_last_not_of(" \t") != line.size() - 1)
                starts.push_back("unexpected blank at the end of " + line);
        }
        return starts;
    }

    bool traced(const std::string& line) { return qrvtest::traced(line, package + "\\jinstall.log"); }
    bool logged(const std::string& line) { return qrvtest::logged(line, package + "\\errors.log"); }

    std::string package;
    std::string windows;
    std::string jvmDir;
    std::string program = "java.exe";
    char commandName[PathCapacity] = "";
    char jvmCommand[PathCapacity] = "";
    ExtractJvm jvm;
};

TEST_F(Extraction, ExpandsRegistersAndCopiesTheLaunchersOnAMachineWithoutJavaSoftKeys)
{
    writeFile("__temp.log", "left by the expansion");
    ASSERT_TRUE(extract(jvmDir)) << readTextFile("jinstall.log");

    EXPECT_TRUE(jvm.isJvmInstalled());
    EXPECT_FALSE(jvm.isJvmDiscovered());
    EXPECT_EQ(jvmDir + "\\bin\\java.exe", std::string(jvmCommand));
    EXPECT_STREQ("java.exe", commandName);
    // The expander is looked for in the package directory whatever path the setting names, and
    // runs in the JVM directory; afterwards the package directory is current again.
    EXPECT_EQ(std::vector<std::string>{jvmDir}, expanderStarts());
    EXPECT_EQ(package, cwd());
    EXPECT_TRUE(traced("Compressed JVM file exists:  " + package + "\\jre131.exe"));
    EXPECT_TRUE(traced("issued command to expand: " + package + "\\jre131.exe"));
    EXPECT_TRUE(traced("current directory changed to:  " + jvmDir));
    EXPECT_TRUE(traced("found existing jvm directory: false"));
    EXPECT_TRUE(traced("final jvm install directory: " + jvmDir));
    EXPECT_TRUE(traced("Windows registry configured"));
    EXPECT_TRUE(traced("extractJvm ok: true"));
    EXPECT_FALSE(exists("__temp.log"));

    // The registration (its entries are ExtractJvmRegistry's table) is made.
    EXPECT_EQ(lower(jvmDir), regValue(std::string(JreEntry) + "\\1.3.1", "JavaHome"));
    for (const char* copy : {"java.exe", "javaw.exe", "system\\msvcrt.dll"}) {
        SCOPED_TRACE(copy);
        EXPECT_TRUE(exists(windows + "\\" + copy));
    }
}

TEST_F(Extraction, LauncherCopiesNeverReplaceAFileThatIsThere)
{
    writeFile(windows + "\\java.exe", "mine");
    writeFile(windows + "\\system\\msvcrt.dll", "mine too");
    ASSERT_TRUE(extract(jvmDir));
    EXPECT_EQ("mine", readFile(windows + "\\java.exe"));
    EXPECT_EQ("mine too", readFile(windows + "\\system\\msvcrt.dll"));
    EXPECT_EQ(readFile(jvmDir + "\\bin\\javaw.exe"), readFile(windows + "\\javaw.exe"));
}

TEST_F(Extraction, ARuntimeThatIsNotTheCurrentOneIsRegisteredWithoutCopies)
{
    setRegString(HKEY_LOCAL_MACHINE, JreEntry, "CurrentVersion", "1.3");
    expanderSettings("bin", "1.4.2");
    ASSERT_TRUE(extract(jvmDir, "", "JRE", "1.4.2"));
    EXPECT_EQ(lower(jvmDir), regValue(std::string(JreEntry) + "\\1.4.2", "JavaHome"));
    EXPECT_FALSE(exists(windows + "\\java.exe"));
    EXPECT_FALSE(exists(windows + "\\javaw.exe"));
    EXPECT_FALSE(exists(windows + "\\system\\msvcrt.dll"));
}

TEST_F(Extraction, AnOldRuntimeGetsOneVersionKeyAndItsOwnLauncherPair)
{
    expanderSettings("old", "1.1.8");
    program = "jre.exe";
    ASSERT_TRUE(extract(jvmDir, "", "JRE", "1.1.8")) << readTextFile("jinstall.log");
    EXPECT_STREQ("jre.exe", commandName);
    EXPECT_EQ("1.1", regValue(JreEntry, "CurrentVersion"));
    EXPECT_EQ(lower(jvmDir), regValue(std::string(JreEntry) + "\\1.1", "JavaHome"));
    EXPECT_FALSE(keyExists(std::string(JreEntry) + "\\1.1.8"));
    EXPECT_TRUE(exists(windows + "\\jre.exe"));
    EXPECT_TRUE(exists(windows + "\\jrew.exe"));
    EXPECT_FALSE(exists(windows + "\\java.exe"));
}

TEST_F(Extraction, ADevelopmentKitIsRegisteredOnlyUnderItsKeyAndNothingIsCopied)
{
    ASSERT_TRUE(extract(jvmDir, "", "jdk"));
    EXPECT_EQ(lower(jvmDir), regValue(std::string(JdkEntry) + "\\1.3", "JavaHome"));
    EXPECT_FALSE(keyExists(JreEntry));
    EXPECT_FALSE(exists(windows + "\\java.exe"));
}

TEST_F(Extraction, TheAppDirRoadExpandsBesideThePackageWithoutRegistryOrCopies)
{
    ASSERT_TRUE(extract("[$AppDir]\\jvm")) << readTextFile("jinstall.log");
    const std::string expanded = package + "\\jvm";
    EXPECT_EQ(std::vector<std::string>{expanded}, expanderStarts());
    EXPECT_EQ(expanded + "\\bin\\java.exe", std::string(jvmCommand));
    EXPECT_TRUE(jvm.isJvmInstalled());
    EXPECT_FALSE(keyExists("SOFTWARE\\JavaSoft"));
    EXPECT_FALSE(exists(windows + "\\java.exe"));
    EXPECT_FALSE(exists(windows + "\\javaw.exe"));
    // The registration step is not even asked.
    EXPECT_FALSE(traced("Windows registry unchanged"));
    EXPECT_FALSE(traced("Windows registry configured"));
}

TEST_F(Extraction, TheJvmHomeSettingMovesTheHomeRelativeOrAbsolute)
{
    struct Row {
        const char* name;
        std::string homeDir;
    };
    const Row rows[] = {
        {"relative", "./jre"},
        {"absolute with forward slashes", forwardSlashes(dir / "jvms\\1.3.1\\jre")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        deleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft");
        delDirTree((dir / "jvms").c_str());
        expanderSettings("jre", "1.3.1");
        ASSERT_TRUE(extract(jvmDir, row.homeDir)) << readTextFile("jinstall.log");
        const std::string home = jvmDir + "\\jre";
        EXPECT_EQ(home + "\\bin\\java.exe", std::string(jvmCommand));
        EXPECT_TRUE(traced("final jvm install directory: " + home));
        EXPECT_EQ(lower(home), regValue(std::string(JreEntry) + "\\1.3", "JavaHome"));
    }
}

TEST_F(Extraction, AnExpanderThatLaysOutNothingFailsWithBothMessages)
{
    expanderSettings("bin", "1.3.1", true);
    EXPECT_FALSE(extract(jvmDir));
    EXPECT_EQ(std::vector<std::string>{jvmDir}, expanderStarts());
    EXPECT_FALSE(jvm.isJvmInstalled());
    EXPECT_EQ(package, cwd());
    for (const std::string& line :
         {std::string("Unable to find JVM executable"), "Unable to configure JVM in " + jvmDir}) {
        EXPECT_TRUE(logged(line)) << line;
        EXPECT_TRUE(traced(line)) << line;
    }
    EXPECT_TRUE(traced("basic jvm set up ok: false"));
    EXPECT_TRUE(traced("extractJvm ok: false"));
    EXPECT_FALSE(keyExists("SOFTWARE\\JavaSoft"));
}

TEST_F(Extraction, AMissingExpanderRunsNothingAndComesBackToThePackage)
{
    ASSERT_TRUE(DeleteFileA((package + "\\jre131.exe").c_str()));
    EXPECT_FALSE(extract(jvmDir));
    EXPECT_EQ(package, cwd());
    EXPECT_TRUE(traced("Compressed JVM does *not* exist:  " + package + "\\jre131.exe"));
    EXPECT_TRUE(traced("installed jvm: false"));
    EXPECT_TRUE(traced("unable to expand " + package + "\\jre131.exe"));
    EXPECT_TRUE(traced("installCompressedJvm ok: false"));
    EXPECT_FALSE(exists(jvmDir + "\\bin"));
}

TEST_F(Extraction, AJvmDirectoryThatCannotBeEnteredRunsNoExpanderInThePackage)
{
    // A file where the directory should be: it is taken as the place, but cannot be entered.
    const std::string blocked = dir / "blocked";
    writeFile(blocked, "");
    EXPECT_FALSE(extract(blocked));
    EXPECT_TRUE(expanderStarts().empty());
    EXPECT_FALSE(exists(package + "\\bin"));
    EXPECT_EQ(package, cwd());
    EXPECT_TRUE(traced("installed jvm: false"));
    EXPECT_TRUE(traced("unable to expand " + package + "\\jre131.exe"));
}

// A JVM directory longer than a program can be started in: the expander starts there by its
// short name, and the package directory is current again afterwards. (Unlike Windows, Wine
// starts no program whose long path is past 260 characters, so the JVM's own test run fails,
// and the directories this run made for it go again.)
TEST_F(Extraction, ADeepJvmDirectoryIsTheExpandersWorkingDirectoryByItsShortName)
{
    const std::string deep =
        dir / ("jvms\\" + std::string(130, 'j') + "\\" + std::string(130, 'k'));
    EXPECT_FALSE(extract(deep));
    const std::vector<std::string> starts = expanderStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_NE(std::string::npos, starts[0].find("~")) << starts[0];
    EXPECT_FALSE(exists(dir / "jvms"));
    EXPECT_EQ(package, cwd());
}

// A JVM in the directory is judged by the package's versions, test class or none (then by its
// release file, else its answer): one that fails is not discovered, the packaged one is expanded.
TEST_F(Extraction, AJvmAlreadyInTheDirectoryIsTakenOnlyWhenItsVersionFits)
{
    struct Row {
        const char* homeDir;
        const char* home;
        const char* version;  // what the JVM in place says; then its release file
        bool testClass, release, discovered;
    };
    // The discovered JVM lies in bin; with a relative home its program is looked for below.
    const Row rows[] = {{"", "", "1.3.1", true, false, true},
                        {"./jre", "\\jre", "1.3.1", true, false, true},
                        {"", "", "1.3.1", false, false, true}, {"", "", "1.2.2", false, true, true},
                        {"", "", "1.2.2", false, false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.homeDir) + " " + row.version + (row.release ? " 1.3.1" : ""));
        if (!row.testClass)  // the rows with it come first, the one that expands last
            DeleteFileA((package + "\\TestJvm.class").c_str());
        delDirTree((dir / "jvms").c_str());
        CreateDirectoryA((dir / "jvms").c_str(), nullptr);
        CreateDirectoryA(jvmDir.c_str(), nullptr);
        for (const std::string& bin : {jvmDir + "\\bin", jvmDir + "\\jre"}) {
            CreateDirectoryA(bin.c_str(), nullptr);
            CreateDirectoryA((bin + "\\bin").c_str(), nullptr);
        }
        for (const std::string& bin : {jvmDir + "\\bin", jvmDir + "\\jre\\bin"}) {
            ASSERT_TRUE(
                CopyFileA(builtProgram("fakejvm.exe").c_str(), (bin + "\\java.exe").c_str(), FALSE));
            writeFile(bin + "\\fakejvm.ini",
                      std::string("version=") + row.version + "\ntestrun=good\nwizard=create\n");
        }
        writeFile(jvmDir + "\\release", row.release ? "JAVA_VERSION=\"1.3.1\"\n" : "");
        ExtractJvm fresh;
        copyText(commandName, sizeof commandName, "java.exe");
        ASSERT_TRUE(fresh.extractJvm("", "1.3", "", "1.3.1", "JRE", commandName, "jre131.exe",
                                     jvmDir.c_str(), row.homeDir, jvmCommand, windows.c_str()))
            << readTextFile("jinstall.log");
        EXPECT_EQ(row.discovered, fresh.isJvmDiscovered());
        EXPECT_EQ(!row.discovered, fresh.isJvmInstalled());
        EXPECT_EQ(jvmDir + row.home + "\\bin\\java.exe", std::string(jvmCommand));
        EXPECT_EQ(row.discovered ? 0u : 1u, expanderStarts().size());
        EXPECT_EQ(!row.discovered, traced("found existing jvm directory: false"));
    }
}

TEST_F(Extraction, APackageDirectoryWithBlanksRunsTheExpanderByItsShortName)
{
    preparePackage(dir / "my package dir");
    ASSERT_TRUE(extract(jvmDir)) << readTextFile("jinstall.log");
    EXPECT_EQ(std::vector<std::string>{jvmDir}, expanderStarts());
    EXPECT_EQ(package, cwd());

    char shortForm[PathCapacity];
    ASSERT_NE(0u, GetShortPathNameA((package + "\\jre131.exe").c_str(), shortForm, PathSize));
    // Wine, like Windows with short names on, gives a form without blanks: used unquoted.
    EXPECT_EQ(std::string::npos, std::string(shortForm).find(' '));
    EXPECT_TRUE(traced(std::string("issued command to expand: ") + shortForm));
}

// A missing file has no short name: its path stays whole (the start quotes it).
TEST_F(Extraction, TheExpandCommandOfAMissingFileWithBlanksIsItsPath)
{
    preparePackage(dir / "my package dir");
    char command[PathCapacity];
    EXPECT_FALSE(jvm.getJvmInstallerCommand("a/b/absent.exe", command, package.c_str()));
    EXPECT_EQ(package + "\\absent.exe", std::string(command));
}

// Locating the program: each candidate in order, the "java" alternative only for "jre" names.
class Locating : public InTempDirWithRegistry {
protected:
    void SetUp() override { createTraceLog(); }
};

TEST_F(Locating, TheProgramFoundFollowsTheNameAndTheTraceMarker)
{
    struct Row {
        const char* name;
        const char* program;
        bool marker;  // "jinstall.sem": this run created the trace log
        std::vector<const char*> files;
        bool found;
        const char* result;
    };
    const Row rows[] = {
        {"windowed old name, Java 2 layout, marker", "jrew.exe", true,
         {"bin\\javaw.exe", "bin\\java.exe"}, true, "javaw.exe"},
        {"old name without marker takes the console program", "jrew.exe", false,
         {"bin\\javaw.exe", "bin\\java.exe"}, true, "java.exe"},
        {"old name in place wins over the alternative", "jre.exe", false,
         {"bin\\jre.exe", "bin\\java.exe"}, true, "jre.exe"},
        {"alternative directly under the home before bin", "jre.exe", false,
         {"java.exe", "bin\\jre.exe"}, true, "java.exe"},
        {"program directly under the home", "java.exe", false, {"java.exe"}, true, "java.exe"},
        {"a java name has no alternative", "javaw.exe", true, {"bin\\java.exe"}, false,
         "javaw.exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string home = dir / "home";
        delDirTree(home.c_str());
        CreateDirectoryA(home.c_str(), nullptr);
        CreateDirectoryA((home + "\\bin").c_str(), nullptr);
        for (const char* file : row.files)
            writeFile(home + "\\" + file, "");
        DeleteFileA("jinstall.sem");
        if (row.marker)
            writeFile("jinstall.sem", "");
        DeleteFileA("errors.log");

        char name[PathCapacity];
        copyText(name, sizeof name, row.program);
        ExtractJvm jvm;
        EXPECT_EQ(row.found, jvm.configureJvm("1.3.1", "JRE", name, home.c_str(),
                                              (dir / "windows").c_str(), false));
        EXPECT_STREQ(row.result, name);
        EXPECT_EQ(!row.found, exists("errors.log"));
    }
    EXPECT_FALSE(keyExists("SOFTWARE\\JavaSoft"));
}

TEST_F(Locating, TheRegisteredHomeCutsOnlyAWholeBinComponent)
{
    struct Row {
        std::string jvmDir;
        std::string home;
    };
    const Row rows[] = {
        {dir / "Binaries\\jvm\\1.3.1", lower(dir / "binaries\\jvm\\1.3.1")},
        {dir / "JRE\\1.3.1\\bin", lower(dir / "jre\\1.3.1")},
        {dir / "robin\\1.3.1", lower(dir / "robin\\1.3.1")},
        // A "bin" further up is where the JVM lies, not its program directory.
        {dir / "Bin\\jre\\1.3.1", lower(dir / "bin\\jre\\1.3.1")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.jvmDir);
        deleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft");
        for (size_t at = row.jvmDir.find('\\', dir.path().size()); at != std::string::npos;
             at = row.jvmDir.find('\\', at + 1))
            CreateDirectoryA(row.jvmDir.substr(0, at).c_str(), nullptr);
        CreateDirectoryA(row.jvmDir.c_str(), nullptr);
        writeFile(row.jvmDir + "\\java.exe", "");
        char name[PathCapacity] = "java.exe";
        ExtractJvm jvm;
        ASSERT_TRUE(jvm.configureJvm("1.3.1", "JRE", name, row.jvmDir.c_str(),
                                     (dir / "windows").c_str(), true));
        EXPECT_EQ(row.home, regValue(std::string(JreEntry) + "\\1.3", "JavaHome"));
        EXPECT_EQ(row.home, regValue(std::string(JreEntry) + "\\1.3.1", "JavaHome"));
    }
}

TEST_F(Locating, ARegistryThatRefusesWritesLeavesAWarningAndTheJvmStillConfigured)
{
    // Below a volatile key no lasting key can be made, as for a user without rights.
    HKEY software = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                             &software, nullptr));
    RegCloseKey(software);
    CreateDirectoryA((dir / "home").c_str(), nullptr);
    CreateDirectoryA((dir / "home\\bin").c_str(), nullptr);
    writeFile(dir / "home\\bin\\jre.exe", "");
    writeFile(dir / "home\\bin\\java.exe", "");
    char name[PathCapacity] = "jre.exe";
    ExtractJvm jvm;
    EXPECT_TRUE(jvm.configureJvm("1.3.1", "JRE", name, (dir / "home").c_str(),
                                 (dir / "windows").c_str(), true));
    EXPECT_STREQ("jre.exe", name);
    const auto lines = logMessages("jinstall.log");
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(),
                                     "Warning: Windows registry for the JVM *not* configured"))
        << readTextFile("jinstall.log");
    EXPECT_FALSE(keyExists(JreEntry));
}

} // namespace
