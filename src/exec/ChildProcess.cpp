#include "exec/ChildProcess.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "diag/Trace.h"
#include "exec/CommandRules.h"
#include "util/Handle.h"
#include "util/HeldFile.h"
#include "util/LongPath.h"
#include "util/Wide.h"

namespace {

// How long the end of a timed-out program is waited for; its end is certain once the job or
// the process is terminated, this only bounds a system that does not report it.
constexpr DWORD EndWaitMs = 10000;
constexpr int StartAttempts = 3;
constexpr DWORD StartRetryPauseMs = 250;

// A missing program, a file that is no program, a command line that is too long and a program
// that must be run as administrator stay so.
bool startMayBeRetried(int startError, DWORD systemError)
{
    return startError != ENOENT && startError != ENOEXEC && startError != E2BIG &&
           systemError != ElevationRequiredError;
}

bool isFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(widen(path.c_str()).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The C runtime's start tried these extensions for a name without one; CreateProcessA assumes
// none, so the name is completed here first.
std::string programFile(const char* program)
{
    const std::string name = program;
    const size_t separator = name.find_last_of("\\/:");
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
        return name;
    for (const char* extension : {".com", ".exe", ".bat", ".cmd"}) {
        if (isFile(name + extension))
            return name + extension;
    }
    return name;
}

// A job that ends every process in it when its last handle is closed; none when the system
// refuses one (the caller then ends the program alone).
HANDLE createKillingJob()
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    std::memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

// A program that ended in time keeps what it started running, as a start without a limit does:
// the job no longer ends its processes when it is closed.
void releaseJob(HANDLE job)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    std::memset(&limits, 0, sizeof limits);
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

// A new file that a child inherits as its output; none when it cannot be created. It may be
// deleted while a helper of the child (Wine's console host) still holds it after the child ended.
HANDLE createInheritedOutput(const wchar_t* name)
{
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(longPath(std::wstring(name)).c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Creates the process, its standard output and error going to `output` when that is valid;
// `run` receives the start error of a refused start.
bool createChild(const char* program, const std::string& commandLine, DWORD flags,
                 HANDLE output, PROCESS_INFORMATION& process, ChildRun& run)
{
    if (commandLineTooLong(commandLine.size())) {
        run.startError = E2BIG;
        return false;
    }
    const std::string file = programFile(program != nullptr ? program : "");
    // CreateProcessA may write into the command line: it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    std::memset(&process, 0, sizeof process);
    // The program may read, rewrite or delete the trace: none of it is held open while it runs.
    Trace::release();
    // A program copied a moment ago may still be held by a virus scanner: such a start waits
    // for it; one refused for a reason other than a missing or foreign file is tried again after
    // a short pause.
    const std::wstring wideFile = longPath(file.c_str());
    for (int attempt = 1, heldRetry = 0;;) {
        if (CreateProcessA(file.c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                           nullptr, &startup, &process)) {
            run.startError = 0;
            run.systemError = 0;
            run.started = true;
            return true;
        }
        run.systemError = GetLastError();
        run.startError = startErrorNumber(run.systemError);
        if (waitWhileHeld(FileAction::Start, wideFile, heldRetry)) {
            ++heldRetry;
            // The wait's trace line may have opened the trace again.
            Trace::release();
            continue;
        }
        // A program that stayed held has been reported as such; it is not tried again.
        if (heldFailure(run.systemError, FileAction::Start, false) || attempt++ == StartAttempts ||
            !startMayBeRetried(run.startError, run.systemError))
            return false;
        Sleep(StartRetryPauseMs);
    }
}

} // namespace

ChildRun startChild(const char* program, const std::string& commandLine)
{
    ChildRun run;
    PROCESS_INFORMATION process;
    if (createChild(program, commandLine, 0, nullptr, process, run)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return run;
}

ChildRun runChild(const char* program, const std::string& commandLine, unsigned long limitMs,
                  const wchar_t* outputFile, bool noWindow)
{
    ChildRun run;
    const bool limited = limitMs != NoTimeLimit;
    Handle job(limited ? createKillingJob() : nullptr);
    Handle output(outputFile != nullptr ? createInheritedOutput(outputFile) : nullptr);
    PROCESS_INFORMATION process;
    // A program that is to run in the job starts suspended, so that nothing it starts escapes.
    const DWORD flags =
        (job.valid() ? CREATE_SUSPENDED : 0) | (noWindow ? CREATE_NO_WINDOW : 0);
    if (!createChild(program, commandLine, flags, output.get(), process, run))
        return run;
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    if (job.valid()) {
        // Where the launcher itself runs in a job that allows no other (before Windows 8), the
        // program runs outside one and only it is ended after the limit.
        if (!AssignProcessToJobObject(job.get(), processHandle.get()))
            job.close();
        ResumeThread(threadHandle.get());
    }
    threadHandle.close();

    if (WaitForSingleObject(processHandle.get(), limited ? limitMs : INFINITE) == WAIT_TIMEOUT) {
        run.timedOut = true;
        if (job.valid())
            TerminateJobObject(job.get(), 1);
        else
            TerminateProcess(processHandle.get(), 1);
        WaitForSingleObject(processHandle.get(), EndWaitMs);
    } else if (job.valid()) {
        releaseJob(job.get());
    }
    DWORD exitCode = 0;
    if (GetExitCodeProcess(processHandle.get(), &exitCode))
        run.exitCode = exitCode;
    return run;
}
