// Program entry of the launcher: the hidden main window, the status dialog, the worker thread
// that runs the installation, and the message loops that wait for it through semaphore files.
#include <windows.h>

#include <process.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "ui/Language.h"
#include "diag/Trace.h"
#include "exec/ArgQuote.h"
#include "exec/ChildProcess.h"
#include "exec/PathHandOn.h"
#include "config/GetParameters.h"
#include "install/ExitCodes.h"
#include "install/Install.h"
#include "install/ReadOnlyPackage.h"
#include "launcher/CommandLine.h"
#include "launcher/SingleRun.h"
#include "ui/Globals.h"
#include "ui/StatusDialog.h"
#include "util/CleanupCopies.h"
#include "util/File.h"
#include "util/LongPath.h"
#include "util/DiskSpace.h"
#include "util/FileNames.h"
#include "util/HeldFile.h"
#include "util/Utf8.h"
#include "util/PathIdentity.h"
#include "util/SystemDll.h"
#include "util/TextBuffer.h"
#include "util/clib.h"
#include "util/Wide.h"

namespace {
constexpr const char* WaitInstallFilename = "__qrvinstall.sem";
constexpr const char* ShowDialogFilename = "__qrvshow.sem";
constexpr const char* CleanupFilename = "__cleanup.exe";
constexpr const char* TempCleanupFilename = "cleanup.exe";
constexpr const char* OriginalDirFilename = "startdir.txt";
constexpr const char* WindowClassName = "GenericWClass";
constexpr UINT_PTR LoopTimer = 1;
constexpr UINT LoopPeriodMs = 100;
constexpr int GraceMessages = 100;
// Posted by the worker to the main window as it ends, so that the loops see its end at once
// instead of at the next timer tick.
constexpr UINT WorkerEndedMessage = WM_APP + 1;

void traceLine(const char* line)
{
    Trace().traceMessage(file_names::TraceFilename, line);
}

// A line of the error log, traced too.
void logLine(const char* line)
{
    Trace().logAndTraceMessage(file_names::ErrorsFilename, file_names::TraceFilename, line);
}

bool postedQuit = false;
// Set by the worker as it ends, just after it removed the install-wait file: the main thread
// may end the process at once when it sees the flag, and the file would stay. The flag, not the
// file, tells the main thread the worker's end: a file that could not be written reads as
// missing, and the process would end under a worker that is still installing.
volatile LONG workerDone = 0;
// The run's exit code, set by the worker before it signals its end; a run that ends before the
// worker has finished reports a failure.
volatile LONG runExitCode = exit_codes::OtherFailure;
// Set by the worker when a run that failed where the package lies (nothing unpacked it, no
// "startdir.txt") keeps the package for a new start: its cleanup program stays too.
volatile LONG packageKept = 0;
// Set by the main thread once its window is made, which a quiet run's worker does not wait for;
// the worker only posts to it.
HWND volatile mainWindowHandle = nullptr;

// Writes "ok\n" into `path`. A file that cannot be written only shortens the status phase: the
// worker's end is told by its flag.
void writeSemaphore(const char* path)
{
    File file(path, "w");
    if (file)
        std::fwrite("ok\n", 1, 3, file.get());
}

bool workerFinished()
{
    return InterlockedCompareExchange(&workerDone, 0, 0) != 0;
}

// One message through the dialog or the window procedures; false when the loop must end.
bool pumpOne()
{
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) <= 0)
        return false;
    HWND dialog = hDlgMain;
    if (dialog != nullptr && IsDialogMessageA(dialog, &message))
        return true;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        postedQuit = true;
        return 0;
    case WM_CREATE:
        return 0;
    case WM_SETFOCUS:
        if (hDlgMain != nullptr)
            SetFocus(hDlgMain);
        return 0;
    case WM_TIMER:
    case WorkerEndedMessage:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The worker: reads the switches, runs the installation, then signals its end.
void __cdecl startMainThread(void* argument)
{
    {
        // Scoped: _endthread does not return, so everything owned here is released first.
        const char* commandLine = static_cast<const char*>(argument);
        const InstallRequest request = parseInstallRequest(commandLine);
        // The driver takes a writable buffer with room for what it appends.
        TextBuffer details(request.details.size() + PathCapacity);
        details.set(request.details.c_str());

        // A package without a cleanup program has nothing to copy; any other failure is traced.
        if (!copyFile(TempCleanupFilename, CleanupFilename) && fexists(TempCleanupFilename)) {
            const std::string full = diskFullReason(CleanupFilename);
            Trace().traceMessage(file_names::TraceFilename, "unable to copy cleanup program to",
                                 CleanupFilename);
            if (!full.empty())
                logLine(full.c_str());
        }
        int exitCode = exit_codes::OtherFailure;
        const bool inPlace = !fexists(OriginalDirFilename);
        const bool succeeded = startProgram(request.quiet, request.properties, details.data(),
                                            showDialogFilename, &exitCode);
        InterlockedExchange(&runExitCode, exitCode);
        InterlockedExchange(&packageKept, inPlace && !succeeded ? 1 : 0);
    }

    removeFile(waitInstallFilename);
    InterlockedExchange(&workerDone, 1);
    // The main thread may still be making its window: then it sees the flag once the window is
    // there (publishMainWindow).
    if (HWND window = static_cast<HWND>(InterlockedCompareExchangePointer(
            reinterpret_cast<void* volatile*>(&mainWindowHandle), nullptr, nullptr)))
        PostMessageA(window, WorkerEndedMessage, 0, 0);
    _endthread();
}

// The directory the user started from, as recorded in "startdir.txt"; empty when unknown.
void getStartDir(char* out)
{
    out[0] = '\0';
    if (!fexists(OriginalDirFilename))
        return;
    const File file(OriginalDirFilename, "r");
    if (!file)
        return;
    char line[PathCapacity - 1];
    if (std::fgets(line, sizeof line, file.get()) != nullptr) {
        utf8::trimCutLine(line, sizeof line);
        copyText(out, PathCapacity, trimStartDirLine(line).c_str());
    }
}

// The icon only for a run that shows its windows: loading it costs a quiet run a share of its
// start, and nothing of such a run is ever seen.
bool registerWindowClass(HINSTANCE instance, bool shown)
{
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = shown ? LoadIconA(instance, "IDI_ICON1") : nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = "";
    windowClass.lpszClassName = WindowClassName;
    return RegisterClassA(&windowClass) != 0;
}

void runCleanupStep(const char* startDir, const char* currentDir)
{
    // What earlier cleanup programs left of themselves under TEMP, now that none of them runs.
    removeCleanupCopies();
    // The package directory named in another spelling is still the start directory: the
    // cleanup program would remove the directory the user started from.
    if (startDirNeedsCleanup(startDir, currentDir) && !sameFileObject(startDir, currentDir)) {
        // The cleanup program is ours and reads its command line as this program does.
        PathHandOn handOn(file_names::TraceFilename);
        std::string dir;
        std::string program;
        handOn.form(currentDir, dir, "", GetACP());
        handOn.form(fullPathOf(CleanupFilename).c_str(), program, "", GetACP());
        const char* argv[] = {CleanupFilename, dir.c_str(), nullptr};
        if (!startChild(program.c_str(), commandLineOf(argv)).started)
            Trace().traceMessage(file_names::TraceFilename, "unable to start", CleanupFilename);
    } else {
        removeFile(CleanupFilename);
        if (InterlockedCompareExchange(&packageKept, 0, 0) == 0)
            removeFile(TempCleanupFilename);
    }
}

// Makes the main window known to the worker. A worker that ended before could not tell it:
// its wake-up is posted here instead, so that the loops see its end at once.
void publishMainWindow(HWND window)
{
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&mainWindowHandle), window);
    if (window != nullptr && workerFinished())
        PostMessageA(window, WorkerEndedMessage, 0, 0);
}

// Writes both wait-state files, then starts the worker: a worker that ends at once still finds
// them to delete, and the loops see its end. False when the worker cannot be started; the files
// are removed again.
bool startWorker(char* commandLine)
{
    writeSemaphore(waitInstallFilename);
    writeSemaphore(showDialogFilename);
    if (_beginthread(startMainThread, 0, commandLine) != static_cast<uintptr_t>(-1L))
        return true;
    removeFile(waitInstallFilename);
    removeFile(showDialogFilename);
    return false;
}

// Loops 1 to 3: status phase, grace phase, hidden phase.
void waitForWorker(HWND mainWindow)
{
    SetTimer(mainWindow, LoopTimer, LoopPeriodMs, nullptr);
    while (pumpOne()) {
        if (workerFinished() || !fexists(showDialogFilename)) {
            KillTimer(mainWindow, LoopTimer);
            break;
        }
    }
    // The worker's wake-up went to the loop above; the grace loop is to see its end at once too.
    if (workerFinished())
        PostMessageA(mainWindow, WorkerEndedMessage, 0, 0);

    SetTimer(mainWindow, LoopTimer, LoopPeriodMs, nullptr);
    int count = 0;
    while (pumpOne()) {
        if (count >= GraceMessages || workerFinished()) {
            KillTimer(mainWindow, LoopTimer);
            break;
        }
        ++count;
    }

    if (hDlgMain != nullptr)
        ShowWindow(hDlgMain, SW_HIDE);
    ShowWindow(mainWindow, SW_HIDE);

    const bool stillRunning = !workerFinished();
    SetTimer(mainWindow, LoopTimer, LoopPeriodMs, nullptr);
    if (stillRunning) {
        while (pumpOne()) {
            if (workerFinished()) {
                KillTimer(mainWindow, LoopTimer);
                break;
            }
        }
    }
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    restrictDllSearch();

    TextBuffer text(1000);
    TextBuffer currentDir(PathCapacity);
    TextBuffer startDir(PathCapacity);
    getCurrentDir(currentDir.data(), PathCapacity - 1);
    // Every relative name lies there, also while a JVM expands in another current directory.
    setPackageDirectory(currentDir.c_str());
    setHeldReports(traceLine, logLine);
    // Before any file is touched: one run per package directory, and none that would fail on
    // its first write in a directory that cannot be written.
    SingleRun singleRun(currentDir.c_str());
    if (singleRun.heldElsewhere()) {
        singleRun.bringOtherRunForward();
        return exit_codes::SecondRun;
    }
    // A package that cannot be written runs from a copy under TEMP, unless its control file
    // says stop; the one-run guard above stays held meanwhile, so a second start meets this run.
    if (ReadOnlyPackage::unwritable(currentDir.c_str())) {
        const InstallRequest request = parseInstallRequest(commandLine);
        ReadOnlyPackage package(currentDir.c_str());
        const bool quiet = request.quiet || request.properties;
        return readOnlyPackageStops() ? package.report(quiet)
                                      : package.runFromCopy(quiet, commandLine);
    }
    // The test run, the wizard and the other programs start in the package directory, by its
    // short name where it is longer than a program can be started in.
    std::string workDir;
    if (!PathHandOn(file_names::TraceFilename)
             .workDirForm(currentDir.c_str(), workDir, GetACP())) {
        const InstallRequest request = parseInstallRequest(commandLine);
        return ReadOnlyPackage(currentDir.c_str())
            .reportTooDeep(request.quiet || request.properties, PathHandOn::WorkDirLimit);
    }
    if (workDir != currentDir.c_str())
        SetCurrentDirectoryW(widen(workDir.c_str()).c_str());
    formatText(waitInstallFilename, PathCapacity, "%s\\%s", currentDir.c_str(),
               WaitInstallFilename);
    formatText(showDialogFilename, PathCapacity, "%s\\%s", currentDir.c_str(),
               ShowDialogFilename);
    getStartDir(startDir.data());
    // A copy of a package whose directory cannot be written: its logs go to the folder under
    // TEMP that the boxes name.
    if (startDirNeedsCleanup(startDir.c_str(), currentDir.c_str()) && isDir(startDir.c_str()) &&
        ReadOnlyPackage::unwritable(startDir.c_str()))
        Status::setLogFolder(ReadOnlyPackage::logFolder(startDir.c_str()));
    hInst = instance;

    // A quiet or properties run shows no window and its worker needs none: it starts at once and
    // installs while this thread makes its window (the process's first use of the window system,
    // the slowest step of its start). A shown run's worker writes into the status dialog, so it
    // starts when the dialog is there.
    const bool shown = !hasInstallSwitch(commandLine);
    bool workerStarted = !shown && startWorker(commandLine);
    HWND mainWindow = nullptr;
    if (previous == nullptr && !registerWindowClass(instance, shown)) {
        // A worker that runs already is let finish, waited for on the thread's own timer:
        // ending the process now would cut its installation short.
        if (!workerStarted)
            return exit_codes::OtherFailure;
    } else {
        // A quiet run's main window only owns the timer and takes the worker's wake-up: a
        // message-only window, made in a fraction of a top-level window's time.
        mainWindow = CreateWindowExA(0, WindowClassName, "", WS_POPUP, CW_USEDEFAULT, 0, 0, 0,
                                     shown ? nullptr : HWND_MESSAGE, nullptr, instance, nullptr);
        publishMainWindow(mainWindow);
    }

    // A quiet or properties run never shows the dialog, and nothing in it asks for the dialog's
    // handle (its boxes are not raised): it is not made at all.
    if (shown) {
        // A wide dialog, so that its text keeps every letter whatever the code page.
        hDlgMain = CreateDialogParamW(instance, L"STATUSDIALOG", mainWindow, StatusDialog, 0);
        if (hDlgMain != nullptr)
            setWindowCharType(hDlgMain);
        singleRun.markDialog(hDlgMain);
        ShowWindow(mainWindow, showCommand);
        if (hDlgMain != nullptr) {
            ShowWindow(hDlgMain, SW_SHOW);
            getMessage(hDlgMain, StatusTextControl, text.data());
            SetDlgItemTextW(hDlgMain, StatusTextControl, widen(text.c_str(), CP_UTF8).c_str());
        }
        workerStarted = startWorker(commandLine);
    }
    if (workerStarted)
        waitForWorker(mainWindow);

    runCleanupStep(startDir.c_str(), currentDir.c_str());

    if (!postedQuit)
        PostQuitMessage(0);
    return static_cast<int>(InterlockedCompareExchange(&runExitCode, 0, 0));
}
