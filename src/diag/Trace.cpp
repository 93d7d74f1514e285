#include "diag/Trace.h"

#include <windows.h>

#include <string>

#include "util/File.h"
#include "util/LongPath.h"
#include "util/fexists.h"

namespace {

// The trace file this process holds open between lines, and its full name: opening, appending
// and closing it for every line cost more than the rest of a run's logging. The main thread
// traces too, hence the lock.
struct HeldTrace {
    SRWLOCK lock = SRWLOCK_INIT;
    File file{nullptr};
    std::string fullName;
};

// Initialised as a constant before anything runs, so that both threads find it ready without the
// runtime's guarded initialisation of a function's static object (and the thread library it needs).
constinit HeldTrace processTrace;

HeldTrace& heldTrace()
{
    return processTrace;
}

} // namespace

void Trace::release()
{
    HeldTrace& held = heldTrace();
    AcquireSRWLockExclusive(&held.lock);
    held.file.close();
    held.fullName.clear();
    ReleaseSRWLockExclusive(&held.lock);
}

void Trace::traceMessage(const char* traceFile, const char* message)
{
    if (message == nullptr)
        return;
    HeldTrace& held = heldTrace();
    AcquireSRWLockExclusive(&held.lock);
    // Tracing is on while the file exists: a trace deleted by anyone is let go of at once, and
    // a name that leads elsewhere (an absolute name of another directory) is opened anew.
    if (!fexists(traceFile)) {
        held.file.close();
        held.fullName.clear();
    } else {
        const std::string full = fullPathOf(traceFile);
        if (!held.file || full.empty() || full != held.fullName) {
            held.file.reset(File::openSharedAppend(full.empty() ? traceFile : full.c_str()));
            held.fullName = held.file ? full : std::string();
        }
        if (held.file)
            writeLine(held.file.get(), message);
    }
    ReleaseSRWLockExclusive(&held.lock);
}

void Trace::traceMessage(const char* traceFile, const char* label, const char* text)
{
    traceMessage(traceFile, labelled(label, text).c_str());
}

void Trace::traceMessage(const char* traceFile, const char* label, int number)
{
    traceMessage(traceFile, labelled(label, number).c_str());
}

void Trace::traceMessage(const char* traceFile, const char* label, bool flag)
{
    traceMessage(traceFile, labelled(label, flag).c_str());
}

void Trace::logAndTraceMessage(const char* errorFile, const char* traceFile, const char* message)
{
    logMessage(errorFile, message);
    traceMessage(traceFile, message);
}

void Trace::logAndTraceMessage(const char* errorFile, const char* traceFile, const char* label,
                               const char* text)
{
    logMessage(errorFile, label, text);
    traceMessage(traceFile, label, text);
}

void Trace::logAndTraceMessage(const char* errorFile, const char* traceFile, const char* label,
                               bool flag)
{
    logMessage(errorFile, label, flag);
    traceMessage(traceFile, label, flag);
}
