#include "launcher/SingleRun.h"

#include "diag/Trace.h"
#include "util/FileNames.h"
#include "util/PathIdentity.h"

namespace {

struct DialogSearch {
    const char* property;
    HWND found;
};

BOOL CALLBACK matchMarkedDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (GetPropA(window, search->property) == nullptr || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

SingleRun::SingleRun(const char* packageDir)
{
    Trace trace;
    const std::string identity = fileIdentity(packageDir);
    if (identity.empty()) {
        // No identity, or one that every directory of its volume shares: a guard by it would
        // turn unrelated packages away.
        trace.traceMessage(file_names::TraceFilename, "no single-run guard, no identity for",
                           packageDir);
        return;
    }
    property_ = "QuorvanSetupRun-" + identity;
    // The session's namespace: a name in the global one can be taken first by any local user,
    // and every later run would be turned away.
    const std::string name = "Local\\" + property_;
    SetLastError(ERROR_SUCCESS);
    mutex_.reset(CreateMutexA(nullptr, TRUE, name.c_str()));
    const DWORD error = GetLastError();
    // A mutex of this session that is closed to this run (another run of the same directory,
    // elevated) is held all the same; any other failure leaves the run unguarded.
    heldElsewhere_ =
        error == ERROR_ALREADY_EXISTS || (!mutex_.valid() && error == ERROR_ACCESS_DENIED);
    if (!mutex_.valid()) {
        trace.traceMessage(file_names::TraceFilename,
                           error == ERROR_ACCESS_DENIED
                               ? "single-run mutex refused (access denied), held elsewhere:"
                               : "no single-run guard, mutex not made:",
                           name.c_str());
    }
}

SingleRun::~SingleRun()
{
    if (marked_ != nullptr && IsWindow(marked_))
        RemovePropA(marked_, property_.c_str());
}

void SingleRun::markDialog(HWND dialog)
{
    if (dialog == nullptr || property_.empty() || !SetPropA(dialog, property_.c_str(), dialog))
        return;
    marked_ = dialog;
}

void SingleRun::bringOtherRunForward() const
{
    DialogSearch search{property_.c_str(), nullptr};
    if (property_.empty())
        return;
    EnumWindows(matchMarkedDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return;
    if (IsIconic(search.found))
        ShowWindow(search.found, SW_RESTORE);
    SetForegroundWindow(search.found);
}
