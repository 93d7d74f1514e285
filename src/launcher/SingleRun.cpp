#include "launcher/SingleRun.h"

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
    const std::string identity = fileIdentity(packageDir);
    if (identity.empty())
        return;
    property_ = "QuorvanSetupRun-" + identity;
    // Global: a deployment tool's service and the user's session share the directory too.
    SetLastError(ERROR_SUCCESS);
    mutex_.reset(CreateMutexA(nullptr, TRUE, ("Global\\" + property_).c_str()));
    const DWORD error = GetLastError();
    // A mutex of another user's run may be closed to this one: held all the same.
    heldElsewhere_ =
        error == ERROR_ALREADY_EXISTS || (!mutex_.valid() && error == ERROR_ACCESS_DENIED);
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
