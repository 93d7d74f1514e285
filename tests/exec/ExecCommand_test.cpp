#include "exec/ArgQuote.h"
#include "exec/ExecCommand.h"
#include "exec/Recorder.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"

#include <cstring>

using namespace qrvtest;

class Exec : public InTempDir {};

TEST_F(Exec, SpawnOfAMissingProgramGivesTheReasonAndNoErrorLine)
{
    createTraceLog();
    ExecCommand exec;
    char reason[500];
    std::memset(reason, 0xbd, sizeof reason);
    const std::string missing = dir / "no such.exe";
    const char* argv[] = {"no such.exe", nullptr};
    EXPECT_FALSE(exec.spawnAndWait(missing.c_str(), argv, reason, sizeof reason));
    EXPECT_STREQ("File or path is not found", reason);
    EXPECT_FALSE(exists("errors.log"));
    const std::vector<std::string> trace = logMessages("jinstall.log");
    EXPECT_TRUE(contains(trace, "formattedCommand: " + missing));
    EXPECT_TRUE(contains(trace, "Command: " + missing));
    EXPECT_TRUE(contains(trace, "Args: \"no such.exe\""));
}

// Arguments with blanks arrive whole, empty ones vanish, texts in their commandLineQuoted form
// arrive unchanged through the C runtime's own split; and a child's exit code is no verdict on
// its start: -1 (what the C runtime's start returned for a failed start) is a program that ran.
TEST_F(Exec, SpawnPassesArgumentsWholeAndAnExitOfMinusOneIsAStart)
{
    const std::string program = dir / "my prog.exe";
    placeRecorder(program);
    configureRecorder(program, false, -1);
    const std::vector<std::string> quoted = {"\"C:\\My Dir\\x\"", "say \"hi there\"", "a\\\"b c",
                                             "-Dx=\"a b\" \"\""};
    std::vector<const char*> argv = {"my prog.exe", "-cp", ".;C:\\a b\\x.jar", "",
                                     "C:\\trail dir\\", "tab\there"};
    std::vector<std::string> sent = {"my prog.exe", "-cp", ".;C:\\a b\\x.jar", "C:\\trail dir\\",
                                     "tab\there"};
    std::vector<std::string> forms;
    for (const std::string& text : quoted)
        forms.push_back(commandLineQuoted(text.c_str()));
    for (const std::string& form : forms)
        argv.push_back(form.c_str());
    argv.push_back(nullptr);
    sent.insert(sent.end(), quoted.begin(), quoted.end());
    ExecCommand exec;
    char reason[500] = "";
    EXPECT_TRUE(exec.spawnAndWait(program.c_str(), argv.data(), reason, sizeof reason));
    EXPECT_EQ(startLines(dir.path(), sent), recorded(program));
    EXPECT_EQ(0xFFFFFFFFul, exec.lastExitCode());
    EXPECT_STREQ("", reason);
}

// A scanner that holds a freshly copied program for a moment must not fail the start.
TEST_F(Exec, AProgramHeldForAMomentStartsOnASecondAttempt)
{
    const std::string program = dir / "held.exe";
    placeRecorder(program);
    configureRecorder(program, false, 0);
    HANDLE held = CreateFileA(program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    HANDLE releaser = CreateThread(
        nullptr, 0,
        [](LPVOID handle) -> DWORD {
            Sleep(100);
            CloseHandle(static_cast<HANDLE>(handle));
            return 0;
        },
        held, 0, nullptr);
    ASSERT_NE(nullptr, releaser);
    ExecCommand exec;
    char reason[500] = "";
    const char* argv[] = {"held.exe", nullptr};
    const bool started = exec.spawnAndWait(program.c_str(), argv, reason, sizeof reason);
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_TRUE(started) << reason;
    EXPECT_EQ(startLines(dir.path(), {"held.exe"}), recorded(program));
}

TEST_F(Exec, CommandLineOverTheSystemsLimitIsReportedAsSuch)
{
    const std::string program = dir / "rec.exe";
    placeRecorder(program);
    const std::string longArgument(32767, 'a');
    const char* argv[] = {"rec.exe", longArgument.c_str(), nullptr};
    ExecCommand exec;
    char reason[500] = "";
    EXPECT_FALSE(exec.spawnAndWait(program.c_str(), argv, reason, sizeof reason));
    EXPECT_STREQ("Argument list exceeds 1024 bytes", reason);
    EXPECT_TRUE(recorded(program).empty());
}

TEST_F(Exec, TheCallersOwnCommandLineIsPassedAsWritten)
{
    const std::string program = dir / "rec.exe";
    placeRecorder(program);
    const char* argv[] = {"rec.exe", "/s /v/qn", nullptr};
    ExecCommand exec;
    char reason[500] = "";
    EXPECT_TRUE(exec.spawnAndWait(program.c_str(), argv, reason, sizeof reason,
                                  "rec.exe /s /v/qn"));
    EXPECT_EQ(startLines(dir.path(), {"rec.exe", "/s", "/v/qn"}), recorded(program));
}

TEST_F(Exec, ExecCommandWithoutArgumentsSucceedsWhateverTheExitCode)
{
    createTraceLog();
    const std::string program = dir / "rec.exe";
    placeRecorder(program);
    configureRecorder(program, false, 5);
    ExecCommand exec;
    EXPECT_TRUE(exec.execCommand(program.c_str(), nullptr, 0));
    EXPECT_EQ(startLines(dir.path(), {program}), recorded(program));
    expectTraced(logMessages("jinstall.log"),
                 {"# of args: 0", "about to execute command: " + program,
                  "Command started ok: true"});
}

TEST_F(Exec, ExecCommandPassesEveryPieceEvenBeyondTheAnnouncedCount)
{
    const std::string program = dir / "rec.exe";
    placeRecorder(program);
    ExecCommand exec;
    // Fault guarded: a vector sized from the count alone would be overrun by the extra pieces.
    EXPECT_TRUE(exec.execCommand(program.c_str(), "-a  -b -c -d -e", 1));
    EXPECT_EQ(startLines(dir.path(), {program, "-a", "-b", "-c", "-d", "-e"}), recorded(program));
}

TEST_F(Exec, ExecCommandOfAMissingProgramWritesTheThreeLineReport)
{
    const std::string missing = dir / "missing.exe";
    for (bool tracing : {false, true}) {
        SCOPED_TRACE(tracing ? "with trace" : "without trace");
        std::remove("errors.log");
        std::remove("jinstall.log");
        if (tracing)
            createTraceLog();
        ExecCommand exec;
        EXPECT_FALSE(exec.execCommand(missing.c_str(), nullptr, 0));
        const std::vector<std::string> report = {"Unable to execute command: " + missing,
                                                 "                   result -1",
                                                 "                    errno 2"};
        EXPECT_EQ(report, logMessages("errors.log"));
        if (tracing) {
            std::vector<std::string> trace = logMessages("jinstall.log");
            ASSERT_GE(trace.size(), 4u);
            EXPECT_EQ(report, std::vector<std::string>(trace.end() - 4, trace.end() - 1));
            EXPECT_EQ("Command started ok: false", trace.back());
        }
    }
}

TEST_F(Exec, AbsoluteLogNamesSurviveAChangeOfDirectory)
{
    const std::string errors = dir / "errors.log";
    const std::string trace = dir / "jinstall.log";
    writeFile(trace, "");
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    ExecCommand exec;
    exec.setTraceFilename(trace.c_str());
    exec.setErrorsFilename(errors.c_str());
    ASSERT_TRUE(SetCurrentDirectoryA((dir / "sub").c_str()));
    EXPECT_FALSE(exec.execCommand("missing.exe", nullptr, 0));
    SetCurrentDirectoryA(dir.path().c_str());
    EXPECT_EQ(3u, logMessages(errors).size());
    EXPECT_FALSE(exists(dir / "sub" + "\\errors.log"));
    EXPECT_EQ("Command started ok: false", logMessages(trace).back());
}
