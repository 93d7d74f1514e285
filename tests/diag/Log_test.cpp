#include <io.h>

#include <cstdio>
#include <regex>

#include "diag/Trace.h"
#include "support/TestSupport.h"

using namespace qrvtest;

namespace {
class Logs : public InTempDir {};
} // namespace

TEST_F(Logs, EachMessageShapeIsOneTimeStampedLine)
{
    Log log;
    log.logMessage("errors.log", "plain message");
    log.logMessage("errors.log", "label", "text");
    log.logMessage("errors.log", "# of args", 3);
    log.logMessage("errors.log", "negative", -12);
    log.logMessage("errors.log", "install ok", false);
    log.logMessage("errors.log", "flag", true);
    log.logMessage("errors.log", "                   result", 2);

    const std::vector<std::string> expected = {
        "plain message", "label text",      "# of args: 3", "negative: -12",
        "install ok: false", "flag: true", "                   result: 2"};
    EXPECT_EQ(expected, logMessages("errors.log"));

    // asctime without its newline: "Www Mmm dd hh:mm:ss yyyy", then one blank
    const std::regex stamp(R"(^[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] \d\d:\d\d:\d\d \d{4} )");
    for (const std::string& line : readLines("errors.log"))
        EXPECT_TRUE(std::regex_search(line, stamp)) << line;
    // text mode: every line ends in CR LF on disk
    const std::string raw = readFile("errors.log");
    EXPECT_EQ("\r\n", raw.substr(raw.size() - 2));
}

TEST_F(Logs, TraceWritesOnlyWhileTheTraceFileExists)
{
    Trace trace;
    trace.traceMessage("jinstall.log", "dropped");
    trace.traceMessage("jinstall.log", "label", "dropped");
    trace.traceMessage("jinstall.log", "n", 1);
    trace.traceMessage("jinstall.log", "b", true);
    EXPECT_FALSE(exists("jinstall.log"));

    createTraceLog();
    trace.traceMessage("jinstall.log", "kept");
    trace.traceMessage("jinstall.log", "install ok", false);
    EXPECT_EQ((std::vector<std::string>{"kept", "install ok: false"}),
              logMessages("jinstall.log"));
}

TEST_F(Logs, LogAndTraceWritesTheErrorLogAlwaysAndTheTraceWhenPresent)
{
    Trace trace;
    trace.logAndTraceMessage("errors.log", "jinstall.log", "first");
    EXPECT_EQ(std::vector<std::string>{"first"}, logMessages("errors.log"));
    EXPECT_FALSE(exists("jinstall.log"));

    createTraceLog();
    trace.logAndTraceMessage("errors.log", "jinstall.log", "second", "text");
    trace.logAndTraceMessage("errors.log", "jinstall.log", "third", true);
    EXPECT_EQ((std::vector<std::string>{"first", "second text", "third: true"}),
              logMessages("errors.log"));
    EXPECT_EQ((std::vector<std::string>{"second text", "third: true"}),
              logMessages("jinstall.log"));
}

TEST_F(Logs, AnAbsoluteTraceNameKeepsWorkingAfterTheDirectoryChanges)
{
    createTraceLog();
    const std::string absolute = dir / "jinstall.log";
    CreateDirectoryA("elsewhere", nullptr);
    SetCurrentDirectoryA("elsewhere");
    Trace trace;
    trace.traceMessage(absolute.c_str(), "still traced");
    trace.traceMessage("jinstall.log", "dropped: no trace file here");
    SetCurrentDirectoryA(dir.path().c_str());
    EXPECT_EQ(std::vector<std::string>{"still traced"}, logMessages("jinstall.log"));
    EXPECT_FALSE(exists("elsewhere\\jinstall.log"));
}

TEST_F(Logs, AFileThatCannotBeOpenedDropsTheMessageSilently)
{
    Log log;
    log.logMessage("nodir\\errors.log", "lost");
    EXPECT_FALSE(exists("nodir"));
    log.logMessage("errors.log", "kept");
    EXPECT_EQ(std::vector<std::string>{"kept"}, logMessages("errors.log"));
}

TEST_F(Logs, TermLogEchoesEveryLineToStandardOutput)
{
    writeFile("term.log", "");
    // Point standard output at a file for the length of the test.
    fflush(stdout);
    const int saved = _dup(_fileno(stdout));
    FILE* echo = fopen("echo.txt", "w");
    ASSERT_NE(nullptr, echo);
    _dup2(_fileno(echo), _fileno(stdout));
    Log log;
    log.logMessage("errors.log", "echoed", "line");
    fflush(stdout);
    _dup2(saved, _fileno(stdout));
    _close(saved);
    fclose(echo);
    const std::vector<std::string> echoed = logMessages("echo.txt");
    EXPECT_EQ(std::vector<std::string>{"echoed line"}, echoed);
    EXPECT_EQ(readLines("errors.log"), readLines("echo.txt"));
}
