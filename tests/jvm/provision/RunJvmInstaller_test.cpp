#include "support/LogCheck.h"
#include "jvm/provision/RunJvmInstaller.h"

#include <direct.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "jvm/discovery/JvmSupport.h"
#include "util/clib.h"

using namespace qrvtest;
using namespace jvmtest;

namespace {

const char* const WindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const WindowsNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A package directory holding the stand-in vendor installer as "vendor.exe" and the test
// class, in a scratch registry whose Program Files value points into the test's directory.
// The JVM directory that the directory selection settles on is then
// <dir>\pf\JavaSoft\JRE1.6\1.6.0.
class VendorRun : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        createTraceLog();
        const std::string programFiles = dir / "pf";
        const std::string windows = dir / "win";
        CreateDirectoryA(programFiles.c_str(), nullptr);
        CreateDirectoryA(windows.c_str(), nullptr);
        setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", programFiles);
        setRegString(HKEY_LOCAL_MACHINE, WindowsNtKey, "SystemRoot", windows);
        jvmDir = programFiles + "\\JavaSoft\\JRE1.6\\1.6.0";
        ASSERT_TRUE(CopyFileA(builtProgram("fakevendor.exe").c_str(), (dir / "vendor.exe").c_str(),
                              FALSE));
        copyTestClass();
        configure("subdir");
    }

    // Writes the stand-in's settings; `extra` holds further key=value lines.
    void configure(const std::string& mode, const std::string& extra = "")
    {
        writeFile(dir / "vendor.ini", "jvm=" + builtProgram("fakejvm.exe") +
                                          "\nversion=1.6.0\nmode=" + mode +
                                          "\nrecord=" + dir / "vendor.record\n" + extra);
    }

    bool run(const std::string& command, const char* required = "1.6",
             const char* installer = "vendor.exe")
    {
        copyText(commandBuffer, PathCapacity, command.c_str());
        copyText(jvmCommand, PathCapacity, "java.exe");
        jvmPath[0] = '\0';
        RunJvmInstaller runner;
        runner.setQuietMode(true);
        const bool ok = runner.run(required, "", "", "1.6.0", "JRE", jvmCommand, installer,
                                   commandBuffer, jvmPath, (dir / "win").c_str());
        failure = runner.failureMessage();
        return ok;
    }

    // The starts of the stand-in vendor installer, each as its recorded lines.
    std::vector<RecordedStart> vendorStarts() { return recordedStarts(dir / "vendor.record"); }

    EnvOverride ini{"QRV_FAKEVENDOR_INI", dir / "vendor.ini"};
    std::string jvmDir;
    char commandBuffer[PathCapacity];
    char jvmCommand[PathCapacity];
    char jvmPath[PathCapacity];
    std::string failure;
};

TEST_F(VendorRun, InstallerRunsInTheJvmDirectoryWithTheCommandsArguments)
{
    struct Row {
        std::string command;
        std::vector<std::string> recorded;  // after the "cwd=" and "program=" lines
        std::string leftInBuffer;
        std::string count;
    };
    const Row rows[] = {
        {"vendor.exe/*/*/*/s/*/*/*/v/qn", {"arg=/s", "arg=/v/qn"}, "/s/*/*/*/v/qn",
         "# of args: 4"},
        // A program text with a directory runs that program; the trailing separator gives
        // one empty argument, which an empty command-line word cannot carry to the program.
        {dir / "vendor.exe/*/*/*", {}, "", "# of args: 2"},
        // A slot goes onto the command line as the package author wrote it, unquoted: its
        // blanks part arguments.
        {"vendor.exe/*/*/*with blanks in it", {"arg=with", "arg=blanks", "arg=in", "arg=it"},
         "with blanks in it", "# of args: 3"},
        {"vendor.exe/*/*/*/s /v/qn", {"arg=/s", "arg=/v/qn"}, "/s /v/qn", "# of args: 3"},
        {"vendor.exe/*/*/*/v\"/qn ALLUSERS=1\"/*/*/*/s", {"arg=/v/qn ALLUSERS=1", "arg=/s"},
         "/v\"/qn ALLUSERS=1\"/*/*/*/s", "# of args: 4"},
        // Without any separator the program starts with no argument at all.
        {"vendor.exe", {}, "vendor.exe", "# of args: 2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        std::remove((dir / "vendor.record").c_str());
        delDirTree((dir / "pf\\JavaSoft").c_str());
        createTraceLog();

        ASSERT_TRUE(run(row.command)) << readTextFile("jinstall.log");
        EXPECT_EQ(jvmDir + "\\jre1.6.0\\bin\\java.exe", std::string(jvmPath));
        const auto starts = vendorStarts();
        ASSERT_EQ(1u, starts.size());
        // The program gets its own name, without a directory, as its first word.
        std::vector<std::string> expected = {"cwd=" + jvmDir, "program=vendor.exe"};
        expected.insert(expected.end(), row.recorded.begin(), row.recorded.end());
        EXPECT_EQ(expected, starts[0]);
        EXPECT_EQ(row.leftInBuffer, std::string(commandBuffer));
        EXPECT_TRUE(traced(row.count));
        EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));  // the copy is gone
        EXPECT_TRUE(exists(dir / "vendor.exe"));        // the package's own file is not
        EXPECT_TRUE(traced("third party jvm installer ran with no reported errors"));
        EXPECT_TRUE(traced("runJvmInstaller ok: true"));
        EXPECT_TRUE(traced("current directory changed to:  " + jvmDir));
        // Back in the package directory afterwards.
        char cwd[PathCapacity];
        getCurrentDir(cwd, PathSize);
        EXPECT_EQ(dir.path(), std::string(cwd));
    }
}

TEST_F(VendorRun, ArgumentsAreTracedOneByOne)
{
    ASSERT_TRUE(run("vendor.exe/*/*/*/s/*/*/*/v/qn"));
    expectTraced(logMessages("jinstall.log"),
                 {"arg: vendor.exe", "arg: /s", "arg: /v/qn", "# of args: 4", "command: vendor.exe",
                  "jvm installer command: vendor.exe"});
}

TEST_F(VendorRun, TheInstallersExitCodeDecidesWhatFollows)
{
    RunJvmInstaller::setBusyWaitSecondMs(1);
    const AtScopeEnd fullSeconds([] { RunJvmInstaller::setBusyWaitSecondMs(1000); });
    const std::string restart = "The JVM installer vendor.exe asks for a restart of the computer";
    const std::string usable = "; the JVM can be used at once.";
    const std::string failed = "Unable to install JRE 1.6.0. The JVM installer vendor.exe ended "
                               "with exit code ";
    const std::string wait = "another installation is in progress, seconds until the jvm "
                             "installer starts again: ";
    struct Row {
        std::string code;
        bool installs;  // the stand-in puts a JVM into the JVM directory
        bool searched;  // the JVM directory and the system were looked at afterwards
        bool found;
        std::vector<std::string> traced, errors;
        std::string failure;
    };
    const Row rows[] = {
        {"3010", true, true, true, {}, {restart + " (exit code 3010)" + usable}, ""},
        {"1641", true, true, true, {}, {restart + " (exit code 1641)" + usable}, ""},
        // A cancelled run is not searched behind the user's back, though the JVM is there.
        {"1602", true, false, false, {}, {}, "The Java installation was cancelled."},
        {"1618", false, true, false, {wait + "10", wait + "20", wait + "40"}, {},
         failed + "1618 ("},
        {"1603", false, true, false, {}, {}, failed + "1603 ("},
        {"1603", true, true, true, {}, {}, ""},  // it may fail after it installed what is needed
        {"3", false, true, false, {}, {}, failed + "3."},
        {"0", false, true, false, {}, {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        for (const char* log : {"vendor.record", "errors.log"})
            std::remove((dir / log).c_str());
        delDirTree((dir / "pf\\JavaSoft").c_str());
        writeFile("jinstall.log", "");
        configure(row.installs ? "subdir" : "nothing", "exitcode=" + row.code + "\n");

        EXPECT_EQ(row.found, run("vendor.exe/*/*/*/s")) << readTextFile("jinstall.log");
        EXPECT_TRUE(traced("jvm installer exit code: " + row.code));
        expectTraced(logMessages("jinstall.log"), row.traced);
        EXPECT_EQ(row.code == "1618" ? 4u : 1u, vendorStarts().size());
        EXPECT_EQ(row.errors, logMessages("errors.log"));
        // The meaning's text is the rule's own (InstallerExit_test): here only that it follows.
        EXPECT_EQ(row.failure, failure.substr(0, row.failure.size()));
        EXPECT_EQ(row.failure.empty(), failure.empty());
        EXPECT_EQ(row.searched, traced("looking for jvm in: " + jvmDir + "\\jre1.6.0") ||
                                    traced("Correct version of JVM was not found in common "
                                           "locations"));
        EXPECT_EQ(row.installs, exists(jvmDir));  // only the JVM directory left empty goes
        EXPECT_TRUE(traced(std::string("runJvmInstaller ok: ") + (row.found ? "true" : "false")));
    }
}

TEST_F(VendorRun, OnlyThePackagedVersionCountsAfterTheInstaller)
{
    // The stand-in installs 1.6.0 although 1.7 was asked for: the packaged JVM's version is
    // what the installed JVM is checked against.
    EXPECT_TRUE(run("vendor.exe/*/*/*", "1.7"));
    configure("subdir", "version=1.5.0\n");
    delDirTree((dir / "pf\\JavaSoft").c_str());
    // A JVM of another version than the packaged one is not taken.
    EXPECT_FALSE(run("vendor.exe/*/*/*", "1.6"));
    // Without the test class the installed JVM is asked for its version.
    std::remove((dir / "TestJvm.class").c_str());
    delDirTree((dir / "pf\\JavaSoft").c_str());
    EXPECT_FALSE(run("vendor.exe/*/*/*", "1.6"));
    EXPECT_TRUE(traced("jvm doesn't meet criteria"));
    configure("subdir");
    EXPECT_TRUE(run("vendor.exe/*/*/*", "1.6"));
}

// A candidate whose program has no form a child can read (8.3 folders past MAX_PATH have no
// shorter name) is passed over for that alone: it leaves no path to end the run as unhanded.
TEST_F(VendorRun, ACandidateThatCannotBeHandedOnIsOnlyPassedOver)
{
    std::string deep = dir / "new";
    while (deep.size() < 260)
        deep += "\\d1234567";
    makeDirs(deep + "\\jre\\bin");
    writeFile(deep + "\\jre\\bin\\java.exe", "");
    char command[PathCapacity] = "java.exe";
    RunJvmInstaller runner;
    EXPECT_FALSE(runner.jvmInNewDir("1.6.0", "", "", deep.c_str(), command, jvmPath));
    EXPECT_TRUE(traced("cannot be handed on, too long and without a short name: " + deep +
                       "\\jre\\bin\\java.exe"));
    EXPECT_EQ("", runner.unhandedPath());
}

// msiexec cannot open a log past MAX_PATH: from a deep package directory its log goes by the
// directory's short name, and the package's copy, in msiexec's own directory, by its bare name.
TEST_F(VendorRun, MsiexecsLogFromADeepPackageDirectoryGoesByItsShortName)
{
    const std::string package = (dir / "deep package " + std::string(250, 'p')).substr(0, 250);
    makeDirs(package);
    writeFile(package + "\\jdk.msi", "not a package");
    createTraceLog(package);
    ASSERT_EQ(0, _chdir(package.c_str()));
    EXPECT_FALSE(run("", "1.6", "jdk.msi"));
    _chdir(dir.path().c_str());
    EXPECT_TRUE(contains(logMessages(package + "\\jinstall.log"),
                         "Args: msiexec.exe /i \"jdk.msi\" /norestart /l*v \"" +
                             shortPathOf(package) + "\\jdk.msi.log\" /qn"));
}

TEST_F(VendorRun, JvmRegisteredElsewhereIsFoundThroughTheRegistry)
{
    const std::string target = dir / "elsewhere";
    configure("registry", "target=" + target + "\nregroot=" + registry.root() + "\\HKLM\n");
    ASSERT_TRUE(run("vendor.exe/*/*/*/s")) << readTextFile("jinstall.log");
    EXPECT_EQ(target + "\\bin\\java.exe", std::string(jvmPath));
    EXPECT_TRUE(traced("Found correct version of JVM: " + target + "\\bin\\java.exe"));
    EXPECT_FALSE(exists(jvmDir));  // left empty by the installer, so removed
    EXPECT_TRUE(traced("removed: " + jvmDir));
}

TEST_F(VendorRun, InstallerThatCannotStart)
{
    EXPECT_FALSE(run("missing.exe/*/*/*/s"));
    EXPECT_TRUE(vendorStarts().empty());
    EXPECT_TRUE(traced("copy ok: true"));
    EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));
    EXPECT_FALSE(exists(jvmDir));
    EXPECT_TRUE(traced("jvm installer removed"));
    // Both lines went to the package directory's logs, not into the JVM directory.
    const auto errors = logMessages("errors.log");
    ASSERT_EQ(2u, errors.size());
    EXPECT_EQ("Error running JVM installer: File or path is not found: false", errors[0]);
    EXPECT_EQ("Unable to start  missing.exe missing.exe /s", errors[1]);
    EXPECT_TRUE(traced(errors[1]));
}

TEST_F(VendorRun, AJvmDirectoryThatCannotBeEnteredRunsNoInstallerInThePackage)
{
    // A file where the directory should be: the installer must not run in the package instead.
    writeFile("blocked", "");
    const char* argv[] = {"vendor.exe", "/s", nullptr};
    RunJvmInstaller runner;
    EXPECT_FALSE(runner.executeInstaller("vendor.exe", argv, (dir / "blocked").c_str()));
    EXPECT_TRUE(vendorStarts().empty());
    EXPECT_EQ(dir.path(), currentDirectory());
    EXPECT_FALSE(traced("current directory changed to:  " + dir.path()));
    EXPECT_TRUE(traced("unable to change the current directory to: " + (dir / "blocked")));
    EXPECT_TRUE(traced("installed jvm: false"));
    const auto errors = logMessages("errors.log");
    ASSERT_EQ(2u, errors.size());
    EXPECT_EQ("Error running JVM installer: unable to change to the JVM directory " +
                  (dir / "blocked") + ": false",
              errors[0]);
    EXPECT_EQ("Unable to start  vendor.exe vendor.exe /s", errors[1]);
}

TEST_F(VendorRun, AnEmptyDirectoryThatCannotBeRemovedIsStillTracedAsRemoved)
{
    const std::string empty = dir / "empty";
    CreateDirectoryA(empty.c_str(), nullptr);
    // Held open without sharing its deletion: the removal fails.
    HANDLE held = CreateFileA(empty.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    RunJvmInstaller runner;
    runner.removeEmptyDir(empty.c_str());
    CloseHandle(held);
    EXPECT_TRUE(exists(empty));
    EXPECT_TRUE(traced("removed: " + empty));
}

// Without a command, or without the installer's file, nothing runs and no JVM directory stays.
TEST_F(VendorRun, WithoutACommandOrItsFileNothingRuns)
{
    EXPECT_FALSE(run(""));
    EXPECT_TRUE(traced("no jvm installer command line"));
    EXPECT_FALSE(exists(jvmDir));
    std::remove((dir / "vendor.exe").c_str());
    EXPECT_FALSE(run("vendor.exe/*/*/*/s"));
    EXPECT_TRUE(traced("copy ok: false"));
    EXPECT_FALSE(exists(jvmDir));
}

TEST_F(VendorRun, DiscoveredDirectoryWithAPassingJvmRunsNoInstaller)
{
    CreateDirectoryA((dir / "pf\\JavaSoft").c_str(), nullptr);
    CreateDirectoryA((dir / "pf\\JavaSoft\\JRE1.6").c_str(), nullptr);
    CreateDirectoryA(jvmDir.c_str(), nullptr);
    installFakeJvm(jvmDir + "\\bin", "java.exe", "1.6.0");
    ASSERT_TRUE(run("vendor.exe/*/*/*/s"));
    EXPECT_EQ(jvmDir + "\\bin\\java.exe", std::string(jvmPath));
    EXPECT_TRUE(traced("found existing jvm directory: true"));
    EXPECT_TRUE(vendorStarts().empty());
    EXPECT_FALSE(exists(jvmDir + "\\vendor.exe"));
}

TEST_F(VendorRun, DiscoveredDirectoryWhoseJvmFailsTheSecondCheckGetsTheInstaller)
{
    // The JVM passes the directory selection's test and fails the runner's own check.
    CreateDirectoryA((dir / "pf\\JavaSoft").c_str(), nullptr);
    CreateDirectoryA((dir / "pf\\JavaSoft\\JRE1.6").c_str(), nullptr);
    CreateDirectoryA(jvmDir.c_str(), nullptr);
    installFakeJvm(jvmDir + "\\bin", "java.exe", "1.6.0", "goodonce");
    ASSERT_TRUE(run("vendor.exe/*/*/*/s")) << readTextFile("jinstall.log");
    EXPECT_TRUE(traced("found existing jvm directory: true"));
    const auto starts = vendorStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("cwd=" + jvmDir, starts[0][0]);
    EXPECT_EQ(jvmDir + "\\jre1.6.0\\bin\\java.exe", std::string(jvmPath));
}

class VendorRegistrySwitch : public InTempDir {};

TEST_F(VendorRegistrySwitch, ConfigureWinRegAnswers)
{
    struct Row {
        const char* control;
        bool expected;
    };
    const Row rows[] = {
        {"configureWinRegistry=no\n", false},
        {"configureWinRegistry=yes\n", true},
        {"jvmName=JRE\n", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        writeFile("qrv.control", row.control);
        RunJvmInstaller runner;
        EXPECT_EQ(row.expected, runner.configureWinReg());
    }
    std::remove("qrv.control");
    RunJvmInstaller runner;
    EXPECT_TRUE(runner.configureWinReg());
}

TEST(RunJvmInstallerSteps, NextArgumentStartsSixCharactersOn)
{
    const char* text = "a/*/*/*b";
    EXPECT_EQ(text + 7, RunJvmInstaller::getStartNextArg(text + 1));
    EXPECT_EQ(nullptr, RunJvmInstaller::getStartNextArg(nullptr));
}

} // namespace
