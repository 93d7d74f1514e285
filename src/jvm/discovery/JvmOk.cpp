#include "jvm/discovery/JvmOk.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/ControlFileRules.h"
#include "exec/ArgQuote.h"
#include "exec/ChildProcess.h"
#include "exec/CommandRules.h"
#include "jvm/discovery/JvmSearch.h"
#include "jvm/discovery/JvmSourceRules.h"
#include "exec/PathHandOn.h"
#include "jvm/discovery/VersionRules.h"
#include "util/File.h"
#include "util/LongPath.h"
#include "util/clib.h"
#include "util/Utf8.h"
#include "util/FileNames.h"

using namespace file_names;

namespace {

constexpr const char* TestJvmFilename = "TestJvm.class";
constexpr const char* TestJvmClassName = "TestJvm";
constexpr const char* TestJvmResultsFilename = "jvmGood.txt";
constexpr const char* BinDir = "bin";
constexpr const char* ReleaseFilename = "release";
constexpr size_t HeaderBytes = 4096;
// Names of files for a child's output tried before giving up: each one taken already.
constexpr int TempNameAttempts = 100;
// The verdict on a candidate whose program or folder has no form that it can read.
constexpr const char* NotHandedOnVerdict = "folder name cannot be handed to Java";

// The user's own options for every JVM: left out of the checks' runs (a broken one must not turn
// every JVM down), kept for the wizard. Only their names are traced: they may hold passwords,
// and a failed run keeps its trace.
class WithoutUserJavaOptions {
public:
    explicit WithoutUserJavaOptions(Trace& tracer, const char* traceFilename)
    {
        for (const char* name : {"_JAVA_OPTIONS", "JAVA_TOOL_OPTIONS", "JDK_JAVA_OPTIONS"}) {
            const char* value = std::getenv(name);
            if (value == nullptr || *value == '\0')
                continue;
            tracer.traceMessage(traceFilename, "left out of the jvm check:", name);
            saved.push_back(std::string(name) + "=" + value);
            _putenv((std::string(name) + "=").c_str());
        }
    }
    ~WithoutUserJavaOptions()
    {
        for (const std::string& setting : saved)
            _putenv(setting.c_str());
    }
    WithoutUserJavaOptions(const WithoutUserJavaOptions&) = delete;
    WithoutUserJavaOptions& operator=(const WithoutUserJavaOptions&) = delete;

private:
    std::vector<std::string> saved;
};

// The architecture of the program at `path`, from its PE header; empty when unreadable.
std::string programArchitecture(const char* path)
{
    const File file(path, "rb");
    unsigned char header[HeaderBytes];
    const size_t size = file ? std::fread(header, 1, sizeof header, file.get()) : 0;
    return source_rules::peArchitecture(header, size);
}

// The version question's output files that a run ended half way left in `dir`: those older
// than a day, which no run still writes.
void removeStaleOutputs(const std::wstring& dir)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(longPath(dir + L"qrv*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    constexpr unsigned long long Day = 24ull * 3600 * 10000000;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            ticks(now) > ticks(found.ftLastWriteTime) + Day)
            removeFile(longPath(dir + found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A new empty file of a name of its own in the TEMP folder, for a child's output: never a file
// of the package's own. Made here rather than by the system's temporary-name function, which
// refuses a folder deeper than MAX_PATH - 14. Empty when none can be made.
std::wstring newTempFile()
{
    const DWORD size = GetTempPathW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetTempPathW(size, &folder[0]);
    if (length == 0 || length >= size)
        return {};
    folder.resize(length);
    if (folder.back() != L'\\')
        folder += L'\\';
    removeStaleOutputs(folder);
    static unsigned serial = 0;
    for (int attempt = 0; attempt < TempNameAttempts; ++attempt) {
        const std::wstring name = L"qrv" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount() + serial++) + L".tmp";
        const std::wstring path = longPath(folder + name);
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return path;
        }
        // Only a name taken already is worth another try.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

} // namespace

std::string JvmOk::releaseVersion(const char* home)
{
    const std::string path = std::string(home) + DIR_END + ReleaseFilename;
    const File file(path.c_str(), "rt");
    std::string version;
    char line[1001];
    while (file && std::fgets(line, sizeof line, file.get()) != nullptr) {
        if (source_rules::releaseLineVersion(line, version))
            break;
    }
    return version;
}

unsigned JvmOk::testTimeoutSeconds = control_file::DefaultTestTimeout;
std::string JvmOk::requiredArchitecture;

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
    if (!ok) {
        verdict = version_rules::versionVerdict(required, minimum, maximum, version);
        verdictVersion = version;
    }
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
    const File file(resultsFilename, "rt");
    if (!file) {
        traceMessage(traceFilename, "Unable to verify version", resultsFilename);
        verdict = "test run failed";
        return false;
    }
    char line[1001];
    line[0] = '\0';
    if (std::fgets(line, 999, file.get()) == nullptr)
        line[0] = '\0';
    line[999] = '\0';
    utf8::trimCutLine(line, 999);
    const bool ok = testLine(line, required, minimum, maximum);
    if (!ok && line[0] == '\0')
        verdict = "test run failed";
    traceMessage(traceFilename, "version checked ok", ok);
    return ok;
}

bool JvmOk::testVersion(const char* required, const char* minimum, const char* maximum,
                        const char* jvmPath)
{
    if (!fexists(TestJvmFilename))
        return true;
    traceMessage(traceFilename, "testing ", jvmPath);
    removeFile(TestJvmResultsFilename);
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
        return notHandedOn(handOn.failedPath());
    const std::string name = fileNamePart(program.c_str());
    const char* const argv[] = {name.c_str(), "-cp", ".", TestJvmClassName, directory.c_str(),
                                nullptr};
    // A JVM that hangs (a broken install waiting on a dialog, a stuck network drive) must not
    // hang the installer: the run is bounded and the next candidate is taken.
    ChildRun run;
    {
        const WithoutUserJavaOptions clean(*this, traceFilename);
        run = runChild(program.c_str(), commandLineOf(argv), testTimeoutSeconds * 1000ul,
                       nullptr, true);
    }
    bool ok = false;
    verdict = run.timedOut ? "timed out" : "test run failed";
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
    removeFile(TestJvmResultsFilename);
    return ok;
}

bool JvmOk::notHandedOn(const std::string& path)
{
    verdict = NotHandedOnVerdict;
    verdictVersion.clear();
    unhanded = path;
    return false;
}

bool JvmOk::correctVersion(const char* required, const char* minimum, const char* maximum,
                           const char* jvmPath)
{
    if (!fexists(jvmPath))
        return false;
    if (!requiredArchitecture.empty()) {
        const std::string architecture = programArchitecture(jvmPath);
        if (architecture != requiredArchitecture) {
            traceMessage(traceFilename, "jvm of another architecture:",
                         (std::string(jvmPath) + " " + architecture).c_str());
            verdict = "wrong architecture";
            verdictVersion.clear();
            return false;
        }
    }
    return testVersion(required, minimum, maximum, jvmPath);
}

bool JvmOk::jvmCorrectVersion(const char* required, const char* minimum, const char* maximum,
                              const char* jvmDir, char* jvmCommand, char* jvmPath)
{
    TextBuffer saved(PathCapacity);
    saved.set(jvmCommand);
    return findCorrectProgram(required, minimum, maximum, jvmDir, jvmCommand, jvmPath) ||
           rejected(jvmDir, jvmCommand, saved);
}

bool JvmOk::rejected(const char* jvmDir, char* jvmCommand, const TextBuffer& saved)
{
    if (JvmSearch* search = JvmSearch::current())
        search->reject(jvmDir, verdictVersion, verdict);
    copyText(jvmCommand, PathCapacity, saved);
    return false;
}

bool JvmOk::findCorrectProgram(const char* required, const char* minimum, const char* maximum,
                               const char* jvmDir, char* jvmCommand, char* jvmPath)
{
    verdict = "no JVM program";
    verdictVersion.clear();
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
    if (!findCorrectProgram(required, minimum, maximum, jvmDir, jvmCommand, jvmPath))
        return rejected(jvmDir, jvmCommand, saved);
    if (!verifyVersion(required, minimum, maximum, jvmVersion)) {
        traceMessage(traceFilename, "jvm doesn't meet criteria");
        return rejected(jvmDir, jvmCommand, saved);
    }
    return true;
}

bool JvmOk::jvmCorrectAskedVersion(const char* required, const char* minimum,
                                   const char* maximum, const char* jvmDir, char* jvmCommand,
                                   char* jvmPath)
{
    // The test run reports the version itself.
    if (fexists(TestJvmFilename))
        return jvmCorrectVersion(required, minimum, maximum, jvmDir, jvmCommand, jvmPath);
    TextBuffer saved(PathCapacity);
    saved.set(jvmCommand);
    if (!findCorrectProgram(required, minimum, maximum, jvmDir, jvmCommand, jvmPath))
        return rejected(jvmDir, jvmCommand, saved);
    const std::string version = askVersion(jvmPath);
    if (version.empty() || !verifyVersion(required, minimum, maximum, version.c_str())) {
        traceMessage(traceFilename, "jvm doesn't meet criteria");
        return rejected(jvmDir, jvmCommand, saved);
    }
    return true;
}

bool JvmOk::jvmHomeFits(const char* required, const char* minimum, const char* maximum,
                        const char* knownVersion, const char* jvmDir, char* jvmCommand,
                        char* jvmPath)
{
    std::string version = knownVersion != nullptr ? knownVersion : "";
    if (version.empty())
        version = releaseVersion(jvmDir);
    if (!version.empty())
        return jvmCorrectVersion(required, minimum, maximum, version.c_str(), jvmDir, jvmCommand,
                                 jvmPath);
    // Nothing says the version: the test run or the JVM itself must.
    traceMessage(traceFilename, "no known version for jvm in:", jvmDir);
    return jvmCorrectAskedVersion(required, minimum, maximum, jvmDir, jvmCommand, jvmPath);
}

std::string JvmOk::askVersion(const char* jvmPath)
{
    // The console program of the pair prints the version; a windowed one may print nothing.
    std::string program = jvmPath;
    const size_t nameStart = program.find_last_of('\\') + 1;
    const std::string console = program.substr(0, nameStart) + "java.exe";
    if (fexists(console.c_str()))
        program = console;
    traceMessage(traceFilename, "asking jvm for its version:", program.c_str());
    // Like the test run, the JVM finds its own files through the path it was started by.
    std::string handed;
    PathHandOn handOn(traceFilename);
    if (!handOn.form(program.c_str(), handed)) {
        notHandedOn(handOn.failedPath());
        return {};
    }
    // The output goes to a file of its own under TEMP: a file of the package is never touched.
    verdict = "test run failed";
    verdictVersion.clear();
    const std::wstring outputFile = newTempFile();
    if (outputFile.empty()) {
        traceMessage(traceFilename, "no file for the version output in", "TEMP");
        return {};
    }
    const char* const argv[] = {"java.exe", "-version", nullptr};
    ChildRun run;
    {
        const WithoutUserJavaOptions clean(*this, traceFilename);
        run = runChild(handed.c_str(), commandLineOf(argv), testTimeoutSeconds * 1000ul,
                       outputFile.c_str(), true);
    }
    std::string version;
    char output[4001] = "";
    {
        const File file(_wfopen(outputFile.c_str(), L"rb"));
        const size_t size = file ? std::fread(output, 1, sizeof output - 1, file.get()) : 0;
        output[size] = '\0';
    }
    removeFile(outputFile);
    if (run.timedOut)
        verdict = "timed out";
    if (run.started && !run.timedOut)
        source_rules::versionOutputVersion(output, version);
    traceMessage(traceFilename, "jvm says its version is", version.c_str());
    return version;
}
