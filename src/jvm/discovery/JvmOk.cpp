#include "jvm/discovery/JvmOk.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/ControlFileRules.h"
#include "exec/ArgQuote.h"
#include "exec/ChildProcess.h"
#include "exec/CommandRules.h"
#include "exec/PathHandOn.h"
#include "jvm/discovery/VersionRules.h"
#include "util/clib.h"
#include "util/FileNames.h"

using namespace file_names;

namespace {

constexpr const char* TestJvmFilename = "TestJvm.class";
constexpr const char* TestJvmClassName = "TestJvm";
constexpr const char* TestJvmResultsFilename = "jvmGood.txt";
constexpr const char* BinDir = "bin";

} // namespace

unsigned JvmOk::testTimeoutSeconds = control_file::DefaultTestTimeout;

JvmOk::JvmOk()
{
    traceFilename.set(TraceFilename);
}

bool JvmOk::verifyVersion(const char* required, const char* minimum, const char* maximum,
                          const char* version)
{
    traceMessage(traceFilename, "jvm version", version);
    traceMessage(traceFilename, "req version", required);
    traceMessage(traceFilename, "min version", minimum);
    traceMessage(traceFilename, "max version", maximum);
    const bool ok = version_rules::verifyVersion(required, minimum, maximum, version);
    traceMessage(traceFilename, "found jvm version:", version);
    traceMessage(traceFilename, "       version ok", ok);
    return ok;
}

bool JvmOk::testLine(char* line, const char* required, const char* minimum, const char* maximum)
{
    version_rules::extractVersion(line);
    return verifyVersion(required, minimum, maximum, line);
}

bool JvmOk::checkVersion(const char* resultsFilename, const char* required, const char* minimum,
                         const char* maximum)
{
    FILE* file = std::fopen(resultsFilename, "rt");
    if (file == nullptr) {
        traceMessage(traceFilename, "Unable to verify version", resultsFilename);
        return false;
    }
    char line[1001];
    line[0] = '\0';
    if (std::fgets(line, 999, file) == nullptr)
        line[0] = '\0';
    line[999] = '\0';
    const bool ok = testLine(line, required, minimum, maximum);
    std::fclose(file);
    traceMessage(traceFilename, "version checked ok", ok);
    return ok;
}

bool JvmOk::testVersion(const char* required, const char* minimum, const char* maximum,
                        const char* jvmPath)
{
    if (!fexists(TestJvmFilename))
        return true;
    traceMessage(traceFilename, "testing ", jvmPath);
    std::remove(TestJvmResultsFilename);
    TextBuffer currentDir(PathCapacity);
    getCurrentDir(currentDir, PathSize);
    // The JVM and everything started after it must not pick up a class path of the user's.
    static char noClasspath[] = "CLASSPATH=";
    _putenv(noClasspath);

    // The JVM reads its command line through the system's code page and finds its own files
    // through the path it was started by: both in a form it can read, or no test run.
    PathHandOn handOn(traceFilename);
    std::string program;
    std::string directory;
    if (!handOn.form(jvmPath, program) ||
        !handOn.form(currentDir.c_str(), directory, currentDir.c_str()))
        return false;
    const std::string name = fileNamePart(program.c_str());
    const char* const argv[] = {name.c_str(), "-cp", ".", TestJvmClassName, directory.c_str(),
                                nullptr};
    // A JVM that hangs (a broken install waiting on a dialog, a stuck network drive) must not
    // hang the installer: the run is bounded and the next candidate is taken.
    const ChildRun run =
        runChild(program.c_str(), commandLineOf(argv), testTimeoutSeconds * 1000ul);
    bool ok = false;
    if (!run.started) {
        TextBuffer text(1000);
        text.format("Error running JVM: %s", spawnErrorText(run.startError));
        logAndTraceMessage(ErrorsFilename, traceFilename, text, false);
    } else if (run.timedOut) {
        traceMessage(traceFilename, "test jvm timed out", jvmPath);
        logAndTraceMessage(ErrorsFilename, traceFilename, "Jvm isn't installed properly.");
    } else {
        traceMessage(traceFilename, "test jvm launched ok", true);
        ok = checkVersion(TestJvmResultsFilename, required, minimum, maximum);
        if (ok)
            traceMessage(traceFilename, "test jvm ok", true);
        else
            logAndTraceMessage(ErrorsFilename, traceFilename, "Jvm isn't installed properly.");
    }
    std::remove(TestJvmResultsFilename);
    return ok;
}

bool JvmOk::correctVersion(const char* required, const char* minimum, const char* maximum,
                           const char* jvmPath)
{
    if (!fexists(jvmPath))
        return false;
    return testVersion(required, minimum, maximum, jvmPath);
}

bool JvmOk::jvmCorrectVersion(const char* required, const char* minimum, const char* maximum,
                              const char* jvmDir, char* jvmCommand, char* jvmPath)
{
    TextBuffer saved(PathCapacity);
    saved.set(jvmCommand);
    auto tryBoth = [&]() {
        formatText(jvmPath, PathCapacity, "%s%s%s", jvmDir, DIR_END, jvmCommand);
        if (correctVersion(required, minimum, maximum, jvmPath))
            return true;
        formatText(jvmPath, PathCapacity, "%s%s%s%s%s", jvmDir, DIR_END, BinDir, DIR_END,
                   jvmCommand);
        return correctVersion(required, minimum, maximum, jvmPath);
    };
    if (tryBoth())
        return true;
    if (version_rules::javaFormOfName(jvmCommand, PathCapacity, fexists(traceFilename)) &&
        tryBoth())
        return true;
    copyText(jvmCommand, PathCapacity, saved);
    return false;
}

bool JvmOk::jvmCorrectVersion(const char* required, const char* minimum, const char* maximum,
                              const char* jvmVersion, const char* jvmDir, char* jvmCommand,
                              char* jvmPath)
{
    TextBuffer saved(PathCapacity);
    saved.set(jvmCommand);
    if (!jvmCorrectVersion(required, minimum, maximum, jvmDir, jvmCommand, jvmPath)) {
        copyText(jvmCommand, PathCapacity, saved);
        return false;
    }
    if (!verifyVersion(required, minimum, maximum, jvmVersion)) {
        traceMessage(traceFilename, "jvm doesn't meet criteria");
        copyText(jvmCommand, PathCapacity, saved);
        return false;
    }
    return true;
}
