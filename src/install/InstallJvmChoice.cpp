// The package's say in the choice of JVM: its own runtime, the architecture it needs, where a
// fitting JVM may be had, and the product's name in the boxes.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "config/ControlFileRules.h"
#include "install/Install.h"
#include "jvm/discovery/JvmOk.h"
#include "jvm/discovery/JvmSources.h"
#include "util/FileNames.h"
#include "util/SystemDll.h"
#include "util/Wide.h"
#include "util/clib.h"

using namespace file_names;

namespace {

// errors.log names this many JVMs turned down, the failure box fewer.
constexpr size_t LoggedRejections = 10;
constexpr size_t ShownRejections = 5;

// Opens the download address for the user. The shell may reach the browser through COM, which
// this thread (the worker) has not set up; its answer is traced. Both DLLs are loaded here only:
// imported, shell32, ole32 and what they load would cost every start of the program more than
// all its own work in a failing run. They stay loaded to the process's end, since the opening
// may go on inside them.
void openAddress(Trace& tracer, const char* address)
{
    using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    using CoUninitializeFn = void(WINAPI*)();
    using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    static const SystemDll ole32("ole32.dll");
    static const SystemDll shell32("shell32.dll");
    const auto coInitializeEx = ole32.function<CoInitializeExFn>("CoInitializeEx");
    const auto coUninitialize = ole32.function<CoUninitializeFn>("CoUninitialize");
    const auto shellExecuteEx = shell32.function<ShellExecuteExFn>("ShellExecuteExW");

    const HRESULT com = coInitializeEx != nullptr && coUninitialize != nullptr
                            ? coInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                          COINIT_DISABLE_OLE1DDE)
                            : E_FAIL;
    const std::wstring file = widen(address);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The run ends soon after: the start is finished before the call returns.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    SetLastError(ERROR_PROC_NOT_FOUND);
    const bool opened = !file.empty() && shellExecuteEx != nullptr && shellExecuteEx(&info);
    const DWORD error = opened ? 0 : GetLastError();
    if (SUCCEEDED(com))
        coUninitialize();
    if (!opened) {
        const std::string label = std::string("unable to open ") + address + ", error";
        tracer.traceMessage(TraceFilename, label.c_str(), static_cast<int>(error));
    }
}

} // namespace

void Install::settleJvmChoiceKeys()
{
    const char* architecture = control_file::architectureSetting(jvmArchitecture);
    if (architecture == nullptr) {
        traceMessage(TraceFilename, "unknown jvmArchitecture, any taken:",
                     jvmArchitecture.c_str());
        architecture = "";
    }
    JvmOk::setArchitecture(architecture);
    if (!jvmDownloadUrl.empty() && !control_file::isDownloadUrl(jvmDownloadUrl)) {
        traceMessage(TraceFilename, "jvmDownloadUrl ignored, no http or https address:",
                     jvmDownloadUrl.c_str());
        jvmDownloadUrl.clear();
    }
    Status::setProductName(productName);
}

bool Install::isBundledJvmFit()
{
    if (jvmBundledDir.empty())
        return false;
    const std::string home = currentDirectory() + "\\" + jvmBundledDir.c_str();
    JvmSources sources;
    if (!sources.tryBundled(home.c_str(), jvmRequiredVersion, jvmMinVersion, jvmMaxVersion,
                            jvmCommandName, jvmCommand)) {
        traceMessage(TraceFilename, "package's own jvm not used, searching the system");
        return false;
    }
    traceMessage(TraceFilename, "Found correct version of JVM:", jvmCommand.c_str());
    getJavaHomeDir(javaHomeDir);
    // Used where it lies: nothing is registered for it, and no cleanup removes it.
    logJvmLocation(false, "", false);
    return true;
}

void Install::reportFailure()
{
    std::string shown;
    const bool noJvm = exitCode == exit_codes::NoJvm;
    if (noJvm && jvmSearch.anyRejected()) {
        logMessage(ErrorsFilename, "JVMs turned down, in search order:");
        for (const std::string& line : jvmSearch.rejectionLines(LoggedRejections))
            logMessage(ErrorsFilename, ("  " + line).c_str());
        shown = "\n\nJVMs turned down:";
        for (const std::string& line : jvmSearch.rejectionLines(ShownRejections))
            shown += "\n" + line;
    }
    const char* offer = noJvm && !jvmDownloadUrl.empty() ? jvmDownloadUrl.c_str() : nullptr;
    if (offer != nullptr && isQuietMode())
        logMessage(ErrorsFilename, "A fitting JVM can be downloaded from:", offer);
    if (askError(errorMessage, errorDetails, shown, offer)) {
        traceMessage(TraceFilename, "opening", offer);
        openAddress(*this, offer);
    }
}
