#include "jvm/discovery/JvmOk.h"

#include "jvm/discovery/JvmSupport.h"
#include "support/LogCheck.h"
#include "util/Wide.h"

#include <cstdlib>
#include <cstring>

using namespace qrvtest;
using namespace jvmtest;

namespace {

class TestRun : public InTempDir {
protected:
    std::string home() const { return dir / "jvm"; }
    std::string javaPath() const { return dir / "jvm\\bin\\java.exe"; }
    void fakeJvm(const std::string& version, const std::string& testRun = "good")
    {
        CreateDirectoryA(home().c_str(), nullptr);
        installFakeJvm(home() + "\\bin", "java.exe", version, testRun);
    }
    JvmOk check;
};

TEST_F(TestRun, WithoutTheTestClassNothingIsStarted)
{
    fakeJvm("1.3.1");
    writeFile("jvmGood.txt", "java.version=1.3.1\n");
    _putenv("CLASSPATH=kept");
    EXPECT_TRUE(check.testVersion("1.6", "", "", javaPath().c_str()));
    EXPECT_TRUE(jvmStarts(home() + "\\bin").empty());
    EXPECT_TRUE(exists("jvmGood.txt"));
    const char* classpath = std::getenv("CLASSPATH");
    EXPECT_STREQ("kept", classpath != nullptr ? classpath : "");
    _putenv("CLASSPATH=");
}

TEST_F(TestRun, GoodRunStartsTheClassWithTheCurrentDirectory)
{
    fakeJvm("1.6.0_20");
    copyTestClass();
    createTraceLog();
    _putenv("CLASSPATH=C:\\elsewhere");
    EXPECT_TRUE(check.testVersion("1.6", "", "", javaPath().c_str()));
    EXPECT_EQ(nullptr, std::getenv("CLASSPATH"));
    const auto starts = jvmStarts(home() + "\\bin");
    ASSERT_EQ(1u, starts.size());
    const std::vector<std::string> expected =
        startLines(dir.path(), {"java.exe", "-cp", ".", "TestJvm", dir.path()});
    EXPECT_EQ(expected, starts[0]);
    EXPECT_FALSE(exists("jvmGood.txt"));
    const auto trace = logMessages("jinstall.log");
    EXPECT_TRUE(contains(trace, "testing  " + javaPath()));
    EXPECT_TRUE(contains(trace, "test jvm launched ok: true"));
    EXPECT_TRUE(contains(trace, "version checked ok: true"));
    EXPECT_TRUE(contains(trace, "test jvm ok: true"));
}

TEST_F(TestRun, DirectoryWithBlanksReachesTheClass)
{
    fakeJvm("1.6.0_20");
    const std::string package = dir / "pkg with blanks";
    CreateDirectoryA(package.c_str(), nullptr);
    SetCurrentDirectoryA(package.c_str());
    copyTestClass();
    EXPECT_TRUE(check.testVersion("1.6", "", "", javaPath().c_str()));
    const auto starts = jvmStarts(home() + "\\bin");
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("arg=" + package, starts[0].back());
}

TEST_F(TestRun, StaleResultsAreRemovedAndNeverRead)
{
    fakeJvm("1.6.0_20", "nothing");
    copyTestClass();
    writeFile("jvmGood.txt", "java.version=1.6.0_20\n");
    createTraceLog();
    EXPECT_FALSE(check.testVersion("1.6", "", "", javaPath().c_str()));
    EXPECT_FALSE(exists("jvmGood.txt"));
    EXPECT_TRUE(contains(logMessages("jinstall.log"), "Unable to verify version jvmGood.txt"));
    EXPECT_TRUE(contains(logMessages("errors.log"), "Jvm isn't installed properly."));
}

TEST_F(TestRun, WrongOrMissingVersionRejects)
{
    copyTestClass();
    fakeJvm("1.3.1");
    EXPECT_FALSE(check.testVersion("1.4", "", "", javaPath().c_str()));
    fakeJvm("1.3.1", "garbage");
    EXPECT_FALSE(check.testVersion("1.4", "", "", javaPath().c_str()));
    // A line without digits gives an empty version, which passes only without R and MIN.
    EXPECT_TRUE(check.testVersion("", "", "1.6", javaPath().c_str()));
    EXPECT_TRUE(contains(logMessages("errors.log"), "Jvm isn't installed properly."));
}

TEST_F(TestRun, ProgramThatCannotStartIsLogged)
{
    copyTestClass();
    EXPECT_FALSE(check.testVersion("1.4", "", "", (dir / "none\\java.exe").c_str()));
    EXPECT_TRUE(contains(logMessages("errors.log"), "Error running JVM: File or path is not found: false"));
    EXPECT_FALSE(check.correctVersion("1.4", "", "", (dir / "none\\java.exe").c_str()));
}

// The test runs' time limit for one test, the default again afterwards.
class TestTimeout {
public:
    explicit TestTimeout(unsigned seconds) { JvmOk::setTestTimeout(seconds); }
    ~TestTimeout() { JvmOk::setTestTimeout(60); }
    TestTimeout(const TestTimeout&) = delete;
    TestTimeout& operator=(const TestTimeout&) = delete;
};

// Fault guarded: a JVM whose test run never ends hung the whole installation.
TEST_F(TestRun, AHungRunIsEndedWithWhatItStartedAndRejected)
{
    fakeJvm("1.6.0_20", "hang");
    copyTestClass();
    createTraceLog();
    {
        TestTimeout limit(1);
        EXPECT_FALSE(check.testVersion("1.6", "", "", javaPath().c_str()));
    }
    const auto starts = jvmStarts(home() + "\\bin");
    ASSERT_EQ(1u, starts.size());
    const auto pid = linesStartingWith(starts[0], "pid=");
    const auto childPid = linesStartingWith(starts[0], "childpid=");
    ASSERT_EQ(1u, pid.size()) << "the stand-in never noted its process";
    ASSERT_EQ(1u, childPid.size()) << "the stand-in never started its second process";
    EXPECT_TRUE(processGone(std::stoul(pid[0])));
    EXPECT_TRUE(processGone(std::stoul(childPid[0])));
    const auto trace = logMessages("jinstall.log");
    EXPECT_TRUE(contains(trace, "test jvm timed out " + javaPath()));
    EXPECT_FALSE(contains(trace, "test jvm launched ok: true"));
    EXPECT_EQ((std::vector<std::string>{"Jvm isn't installed properly."}), logMessages("errors.log"));
    EXPECT_FALSE(exists("jvmGood.txt"));
}

class ProgramSearch : public TestRun {
protected:
    bool find(char* command)
    {
        return check.jvmCorrectVersion("1.6", "", "", home().c_str(), command, path);
    }
    char path[5001] = "";
};

TEST_F(ProgramSearch, ProgramOnlyInBin)
{
    fakeJvm("1.6.0_20");
    copyTestClass();
    char command[5001] = "java.exe";
    EXPECT_TRUE(find(command));
    EXPECT_EQ(javaPath(), path);
}

TEST_F(ProgramSearch, OldRuntimeNameTurnsIntoJavaWithoutTraceFile)
{
    fakeJvm("1.6.0_20");
    char command[5001] = "jrew.exe";
    EXPECT_TRUE(find(command));
    EXPECT_STREQ("java.exe", command);
}

TEST_F(ProgramSearch, OldRuntimeNameTurnsIntoJavawWithTraceFile)
{
    fakeJvm("1.6.0_20");
    createTraceLog();
    char command[5001] = "jrew.exe";
    EXPECT_FALSE(find(command));  // only java.exe is there
    EXPECT_STREQ("jrew.exe", command);
    installFakeJvm(home() + "\\bin", "javaw.exe", "1.6.0_20");
    EXPECT_TRUE(find(command));
    EXPECT_STREQ("javaw.exe", command);
}

TEST_F(ProgramSearch, AHungProgramIsPassedOverForTheNextOne)
{
    copyTestClass();
    installFakeJvm(home(), "java.exe", "1.6.0_20", "hang");
    installFakeJvm(home() + "\\bin", "java.exe", "1.6.0_20");
    TestTimeout limit(1);
    char command[5001] = "java.exe";
    EXPECT_TRUE(find(command));
    EXPECT_EQ(javaPath(), path);
}

// Without the test class the JVM is asked for its version, its output going to a file of TEMP:
// also in a TEMP too deep for the system's temporary names, in letters outside the code page
// (1252 here: "\u0141" as "L" with best fit).
TEST_F(ProgramSearch, AJvmIsAskedForItsVersionInAnyTemp)
{
    fakeJvm("1.6.0_20");
    const std::wstring temp = widen(dir.path().c_str()) + L"\\\u0141" +
                              std::wstring(248 - dir.path().size(), L't');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + temp).c_str(), nullptr));
    const EnvOverride saved("TMP", "");
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    char command[5001] = "java.exe";
    EXPECT_TRUE(check.jvmHomeFits("1.6", "", "", "", home().c_str(), command, path));
}

TEST_F(ProgramSearch, RegisteredVersionMustMeetTheSettingsToo)
{
    fakeJvm("1.6.0_20");
    copyTestClass();
    createTraceLog();
    char command[5001] = "jre.exe";
    installFakeJvm(home() + "\\bin", "javaw.exe", "1.6.0_20");
    EXPECT_FALSE(check.jvmCorrectVersion("1.6", "", "", "1.5.0", home().c_str(), command, path));
    EXPECT_STREQ("jre.exe", command);
    EXPECT_TRUE(contains(logMessages("jinstall.log"), "jvm doesn't meet criteria"));
    EXPECT_TRUE(check.jvmCorrectVersion("1.6", "", "", "1.6.0.20", home().c_str(), command, path));
    EXPECT_STREQ("javaw.exe", command);
}

} // namespace
