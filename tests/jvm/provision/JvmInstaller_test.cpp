#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "jvm/provision/JvmInstaller.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"
#include "util/clib.h"

using namespace qrvtest;

namespace {

const char* const WindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const WindowsNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// The version test passes for a directory that holds bin\java.exe; the documents folder is
// the one the test names, so nothing lands in the prefix's real folders.
class TestInstaller : public JvmInstaller {
public:
    std::string documents;
    std::vector<std::string> tested;

protected:
    bool getDocumentsDirectory(char* out) override
    {
        out[0] = '\0';
        if (documents.empty())
            return false;
        return copyText(out, PathCapacity, documents.c_str());
    }

private:
    bool jvmCorrectVersion(const char*, const char*, const char*, const char* directory,
                           char* jvmCommandName, char* jvmCommand) override
    {
        tested.push_back(directory);
        const std::string program = std::string(directory) + "\\bin\\" + jvmCommandName;
        if (!exists(program))
            return false;
        copyText(jvmCommand, PathCapacity, program.c_str());
        return true;
    }
};

// A drive letter that the prefix does not have, for places that can never be created.
std::string missingDrive()
{
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'H'; --letter) {
        if ((drives & (1u << (letter - 'A'))) == 0)
            return std::string(1, letter) + ":";
    }
    return "";
}


class DirectorySelection : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        createTraceLog();
        programFiles = dir / "pf";
        windows = dir / "win";
        CreateDirectoryA(programFiles.c_str(), nullptr);
        CreateDirectoryA(windows.c_str(), nullptr);
        setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", programFiles);
        setRegString(HKEY_LOCAL_MACHINE, WindowsNtKey, "SystemRoot", windows);
        installer.setHomeDirectory(windows.c_str());
    }

    bool select(const char* predefined, const char* version = "1.3.1", const char* name = "JRE")
    {
        char commandName[PathCapacity] = "java.exe";
        directory[0] = '\0';
        command[0] = '\0';
        return installer.createJvmDirectory("", "", "", version, name, commandName, predefined,
                                            directory, command);
    }
    // A fresh, empty Programs base, so that rows of a table do not find each other's trees.
    void resetProgramFiles()
    {
        delDirTree(programFiles.c_str());
        CreateDirectoryA(programFiles.c_str(), nullptr);
    }

    std::string programFiles;
    std::string windows;
    TestInstaller installer;
    char directory[PathCapacity];
    char command[PathCapacity];
};

TEST_F(DirectorySelection, ProgFilesVariableCreatesEveryMissingLevel)
{
    ASSERT_TRUE(select("[$ProgFilesDir]\\MyApp\\jvm"));
    EXPECT_EQ(programFiles + "\\MyApp\\jvm", directory);
    EXPECT_TRUE(isDir(directory));
    EXPECT_FALSE(installer.isJvmDiscovered());
    EXPECT_TRUE(traced("trying to install JVM into " + programFiles + "\\MyApp\\jvm"));
    EXPECT_TRUE(traced("Ok to use Program files subdirectory for jvm: true"));
    EXPECT_FALSE(exists(programFiles + "\\__test__zos"));
    EXPECT_TRUE(traced("createJvmDirectory ok: true"));
}

TEST_F(DirectorySelection, OtherVariablesAndPlainPaths)
{
    const std::string drive = missingDrive();
    ASSERT_FALSE(drive.empty());
    const std::string standard = programFiles + "\\JavaSoft\\JRE1.3\\1.3.1";
    struct Row {
        std::string predefined;
        std::string expected;
        std::string trace;
    };
    const Row rows[] = {
        {"[$ProgFilesDir]", standard, "invalid predefined directory for JVM [$ProgFilesDir]"},
        {"[$WinDir]\\", standard, "invalid default jvm install directory [$WinDir]\\"},
        {"[$Home]\\x", standard, "unknown variable used to install the JVM"},
        {"[$WinDir]\\apps\\jvm", windows + "\\apps\\jvm", "installing JVM in " + windows + "\\apps\\jvm"},
        {"[$AppDir]\\runtime", dir / "jvm", "installing JVM in " + (dir / "jvm")},
        {dir / "plain\\jvm", dir / "plain\\jvm", "installing JVM in " + (dir / "plain\\jvm")},
        {drive + "\\Tools\\jvm", standard, "installing JVM in " + drive + "\\Tools\\jvm"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.predefined);
        resetProgramFiles();
        createTraceLog();
        ASSERT_TRUE(select(row.predefined.c_str()));
        EXPECT_EQ(row.expected, directory);
        EXPECT_TRUE(isDir(directory));
        EXPECT_TRUE(traced(row.trace));
    }
}

TEST_F(DirectorySelection, KindDirectoriesOfTheStandardLayout)
{
    struct Row {
        const char* name;
        const char* version;
        std::string expected;
    };
    const Row rows[] = {
        {"Java Plug-in", "1.4.2", programFiles + "\\JavaSoft\\Java Plug-in1.4\\1.4.2"},
        {"Runtime", "1.4.2", programFiles + "\\JVM1.4\\1.4.2"},
        {"jre", "1.4.2", programFiles + "\\JVM1.4\\1.4.2"},
        {"JDK", "1.4.2_05", programFiles + "\\JavaSoft\\JDK1.4\\1.4.2_05"},
        {"JRE", "1.3", programFiles + "\\JavaSoft\\JRE1.3\\1.3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetProgramFiles();
        ASSERT_TRUE(select("", row.version, row.name));
        EXPECT_EQ(row.expected, directory);
        EXPECT_TRUE(isDir(directory));
    }
}

TEST_F(DirectorySelection, SecondRunDiscoversTheExpandedJvm)
{
    ASSERT_TRUE(select(""));
    const std::string first = directory;
    EXPECT_EQ(programFiles + "\\JavaSoft\\JRE1.3\\1.3.1", first);
    CreateDirectoryA((first + "\\bin").c_str(), nullptr);
    writeFile(first + "\\bin\\java.exe", "");

    TestInstaller second;
    second.setHomeDirectory(windows.c_str());
    char commandName[PathCapacity] = "java.exe";
    ASSERT_TRUE(second.createJvmDirectory("", "", "", "1.3.1", "JRE", commandName, "", directory,
                                          command));
    EXPECT_EQ(first, directory);
    EXPECT_TRUE(second.isJvmDiscovered());
    EXPECT_EQ(first + "\\bin\\java.exe", command);
    EXPECT_FALSE(exists(programFiles + "\\JavaSoft\\JRE1.3\\Jvm1.3.1"));
    EXPECT_TRUE(traced("found a possible directory " + first));
    EXPECT_TRUE(traced("discovered jvm: true"));
}

TEST_F(DirectorySelection, ExistingDirectoryWithoutAGoodJvmIsNotTaken)
{
    // A relative Programs base has no drive, so the fallback is the tree in the current
    // directory rather than one at the root of a real drive.
    setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", missingDrive() + "\\pf");
    installer.documents = "docs";
    CreateDirectoryA("docs", nullptr);
    const std::string kind = "docs\\JavaSoft\\JRE1.3";
    ASSERT_TRUE(select(""));
    EXPECT_EQ(kind + "\\1.3.1", directory);
    // The same directory again, now without a passing JVM: it fails its test, and as the
    // version name has two dots the second candidate is that directory too.
    TestInstaller second;
    second.documents = "docs";
    second.setHomeDirectory(windows.c_str());
    char commandName[PathCapacity] = "java.exe";
    ASSERT_TRUE(second.createJvmDirectory("", "", "", "1.3.1", "JRE", commandName, "", directory,
                                          command));
    EXPECT_FALSE(second.isJvmDiscovered());
    EXPECT_STREQ("jvm\\jre1.3\\1.3", directory);
    EXPECT_TRUE(traced(kind + "\\1.3.1  doesn't have correct version"));
}

TEST_F(DirectorySelection, FailedFirstCandidateLeadsToTheJvmNamedDirectory)
{
    // For a one-dot version the first candidate is K\1.3.0 and the second K\1.3: a 1.3.0
    // without a good JVM is passed over, and as 1.3 does not exist, Jvm1.3 is made.
    const std::string kind = programFiles + "\\JavaSoft\\JRE1.3";
    CreateDirectoryA((programFiles + "\\JavaSoft").c_str(), nullptr);
    CreateDirectoryA(kind.c_str(), nullptr);
    CreateDirectoryA((kind + "\\1.3.0").c_str(), nullptr);
    ASSERT_TRUE(select("", "1.3"));
    EXPECT_EQ(kind + "\\Jvm1.3", directory);
    EXPECT_TRUE(isDir(directory));
    EXPECT_FALSE(installer.isJvmDiscovered());
    EXPECT_TRUE(traced("directory ok: false"));
}

TEST_F(DirectorySelection, ProgramsBaseFallsBackToTheDocumentsFolder)
{
    const std::string drive = missingDrive();
    setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", drive + "\\Program Files");
    installer.documents = dir / "docs";
    CreateDirectoryA(installer.documents.c_str(), nullptr);
    ASSERT_TRUE(select(""));
    EXPECT_EQ(installer.documents + "\\JavaSoft\\JRE1.3\\1.3.1", directory);
    EXPECT_TRUE(traced("Ok to use Program files subdirectory for jvm: false"));
}

// Each candidate made to fail in turn: the standard layout (on a drive that does not exist),
// the drive root, the Windows directory, each PATH entry, and last the current directory.
TEST_F(DirectorySelection, CandidateOrder)
{
    const std::string drive = missingDrive();
    setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", drive + "\\Program Files");
    installer.documents = drive + "\\Docs";
    const std::string predefined = drive + "\\Tools\\jvm";

    ASSERT_TRUE(select(predefined.c_str()));
    EXPECT_EQ(windows + "\\jvm\\jre1.3\\1.3", directory);
    EXPECT_TRUE(traced("Unable to create:  " + drive + "\\Docs"));
    EXPECT_TRUE(traced("unable to create jvm subdirectory in " + drive));

    // A file in the way of the Windows directory's tree.
    writeFile("blocked", "");
    installer.setHomeDirectory((dir / "blocked").c_str());
    CreateDirectoryA((dir / "p2").c_str(), nullptr);
    {
        EnvOverride path("PATH", (dir / "blocked") + ";" + (dir / "p2"));
        ASSERT_TRUE(select(predefined.c_str()));
        EXPECT_EQ(dir / "p2\\jvm\\jre1.3\\1.3", directory);
    }
    {
        EnvOverride path("PATH", ";" + (dir / "blocked"));
        ASSERT_TRUE(select(predefined.c_str()));
        EXPECT_STREQ("jvm\\jre1.3\\1.3", directory);
        delDirTree("jvm");
    }
    {
        EnvOverride path("PATH", (dir / "blocked") + ";");
        CreateDirectoryA("jvm", nullptr);
        writeFile("jvm\\stale.txt", "");
        ASSERT_TRUE(select(predefined.c_str()));
        EXPECT_EQ(dir / "jvm\\jre1.3\\1.3", directory);
        EXPECT_FALSE(exists("jvm\\stale.txt"));
        EXPECT_FALSE(exists("errors.log"));
    }
}

// A PATH longer than its copy: the entry the copy cuts is never a base, even when what is left
// of it names a directory that exists.
TEST_F(DirectorySelection, APathEntryCutByTheCopyIsNotUsed)
{
    const std::string drive = missingDrive();
    setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", drive + "\\Program Files");
    installer.documents = drive + "\\Docs";
    writeFile("blocked", "");
    installer.setHomeDirectory((dir / "blocked").c_str());
    CreateDirectoryA((dir / "cut").c_str(), nullptr);
    // The filler fails as a base (a drive that does not exist) and is short enough to be used;
    // the copy holds 4999 characters, so it ends right after "...\\cut".
    const std::string last = dir / "cut";
    const std::string filler = drive + "\\" + std::string(4999 - last.size() - 4, 'f');
    EnvOverride path("PATH", filler + ";" + last + "tail");
    ASSERT_TRUE(select(""));
    EXPECT_EQ(dir / "jvm\\jre1.3\\1.3", directory);
    EXPECT_FALSE(exists(dir / "cut\\jvm"));
}

TEST_F(DirectorySelection, EveryCandidateFailing)
{
    const std::string drive = missingDrive();
    setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", drive + "\\Program Files");
    writeFile("blocked", "");
    installer.setHomeDirectory((dir / "blocked").c_str());
    // A file named jvm in the current directory: it cannot be removed as a tree, and nothing
    // can be created below it.
    writeFile("jvm", "");
    EnvOverride path("PATH", dir / "blocked");
    EXPECT_FALSE(select(""));
    EXPECT_EQ(std::vector<std::string>{"Unable to create a new directory to install JVM"},
              logMessages("errors.log"));
    EXPECT_TRUE(traced("createJvmDirectory ok: false"));
    EXPECT_FALSE(installer.isJvmDiscovered());
}

TEST_F(DirectorySelection, WindowsDirectoryFromTheRegistry)
{
    ASSERT_TRUE(select("[$WinDir]\\x"));
    EXPECT_EQ(windows + "\\x", directory);
    // No Windows directory in the registry at all: the variable cannot be resolved.
    deleteRegTree(HKEY_LOCAL_MACHINE, WindowsNtKey);
    createTraceLog();
    ASSERT_TRUE(select("[$WinDir]\\y"));
    EXPECT_TRUE(traced("unable to get Windows directory for JVM"));
    EXPECT_EQ(programFiles + "\\JavaSoft\\JRE1.3\\1.3.1", directory);
}

} // namespace

namespace {

TEST_F(DirectorySelection, ProgramFilesFromTheNtKeyWhenTheOtherIsMissing)
{
    deleteRegTree(HKEY_LOCAL_MACHINE, WindowsKey);
    setRegString(HKEY_LOCAL_MACHINE, WindowsNtKey, "ProgramFilesDir", dir / "ntpf");
    CreateDirectoryA((dir / "ntpf").c_str(), nullptr);
    ASSERT_TRUE(select(""));
    EXPECT_EQ(dir / "ntpf\\JavaSoft\\JRE1.3\\1.3.1", directory);
}

TEST_F(DirectorySelection, EmptyProgramFilesValueGivesTheDocumentsFolder)
{
    setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", "");
    installer.documents = dir / "docs";
    CreateDirectoryA(installer.documents.c_str(), nullptr);
    ASSERT_TRUE(select(""));
    EXPECT_EQ(installer.documents + "\\JavaSoft\\JRE1.3\\1.3.1", directory);
    EXPECT_TRUE(traced("Unable to find Program Files directory in registry"));
    EXPECT_TRUE(traced("vista/7: true"));  // Wine reports Windows 7 unless told otherwise
}

// The shell's folder lookup, loaded from the system directory, names an existing folder.
class RealDocuments : public JvmInstaller {
public:
    bool documents(char* out) { return JvmInstaller::getDocumentsDirectory(out); }
};

TEST(DocumentsFolder, ShellNamesAnExistingFolder)
{
    RealDocuments installer;
    char folder[PathCapacity];
    std::memset(folder, 0xbd, sizeof folder);
    ASSERT_TRUE(installer.documents(folder));
    EXPECT_TRUE(isDir(folder)) << folder;
}

} // namespace
