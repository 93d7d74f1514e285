#include "util/HeldFile.h"

#include <windows.h>

#include <restartmanager.h>

#include <vector>

#include "util/SystemDll.h"
#include "util/Wide.h"

namespace {

HeldReport traceReport = nullptr;
HeldReport errorReport = nullptr;
// The run's waits so far; both threads of the launcher may wait.
volatile LONG spentMs = 0;

// An entry of the kind `action` works on (a directory for its removal, a file otherwise) that
// exists and is not read-only: a refusal there can only be another program's doing.
bool plainEntry(FileAction action, const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY) &&
           directory == (action == FileAction::RemoveDir);
}

using StartSession = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RegisterResources = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT,
                                         LPCWSTR*);
using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
using EndSession = DWORD(WINAPI*)(DWORD);

// The names of the programs that hold `path`, where the system's restart manager can tell;
// its DLL is loaded for a file that stays held only.
std::vector<std::string> holdersOf(const std::wstring& path)
{
    std::vector<std::string> names;
    const SystemDll manager("rstrtmgr.dll");
    auto start = manager.function<StartSession>("RmStartSession");
    auto add = manager.function<RegisterResources>("RmRegisterResources");
    auto list = manager.function<GetList>("RmGetList");
    auto end = manager.function<EndSession>("RmEndSession");
    if (start == nullptr || add == nullptr || list == nullptr || end == nullptr)
        return names;
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (start(&session, 0, key) != ERROR_SUCCESS)
        return names;
    LPCWSTR files[] = {path.c_str()};
    std::vector<RM_PROCESS_INFO> found;
    UINT needed = 0;
    DWORD reasons = 0;
    if (add(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
        // The holders may change between the count and the list: asked twice at most.
        for (int ask = 0; ask < 2; ++ask) {
            UINT count = static_cast<UINT>(found.size());
            const DWORD result = list(session, &needed, &count, found.data(), &reasons);
            if (result == ERROR_SUCCESS) {
                found.resize(count < found.size() ? count : found.size());
                break;
            }
            found.clear();
            if (result != ERROR_MORE_DATA || needed == 0 || needed > 64)
                break;
            found.resize(needed);
        }
    }
    end(session);
    for (RM_PROCESS_INFO& info : found) {
        info.strAppName[CCH_RM_MAX_APP_NAME] = L'\0';
        names.push_back(narrow(info.strAppName));
    }
    return names;
}

} // namespace

void setHeldReports(HeldReport trace, HeldReport error)
{
    traceReport = trace;
    errorReport = error;
}

bool waitWhileHeld(FileAction action, const std::wstring& path, int retry)
{
    const DWORD error = GetLastError();
    const bool plain = heldVerdictNeedsEntry(error, action) && plainEntry(action, path);
    if (!heldFailure(error, action, plain)) {
        SetLastError(error);
        return false;
    }
    const unsigned long wait = heldWaitMs(retry, static_cast<unsigned long>(spentMs));
    if (wait == 0) {
        if (errorReport != nullptr)
            errorReport(heldFileLine(narrow(path), holdersOf(path)).c_str());
        SetLastError(error);
        return false;
    }
    if (retry == 0 && traceReport != nullptr)
        traceReport(heldWaitLine(narrow(path)).c_str());
    Sleep(wait);
    InterlockedExchangeAdd(&spentMs, static_cast<LONG>(wait));
    return true;
}
