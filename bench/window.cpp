// The least a windowed program with the launcher's imports does: register a class (with the
// launcher's brush and cursor), create a hidden window, take it down and end. The launcher
// benchmark measures the launcher against this, so that Wine's start-up, loading the same DLLs
// and the first window's cost are not counted as the launcher's own.
// With QRV_BENCH_JVM (a program) and QRV_BENCH_TESTRUN and QRV_BENCH_WIZARD (its command lines)
// set, it then starts the program twice, one start after the other, and waits for each, with the
// launcher's own calls and flags: the test run suspended in a job that ends it when the job is
// closed, with no console window, then resumed; the wizard plainly; both inheriting handles. What
// such starts cost (a console of its own for a console program, none for a windowed one) is the
// floor of the launcher's road, not its own.
#include <windows.h>

#include <cstring>

namespace {

// A job that ends its processes when it is closed, as the launcher makes for a bounded run.
HANDLE killingJob()
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    std::memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr &&
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        job = nullptr;
    }
    return job;
}

// Starts the program with the command line in the variable `name`, when set, and waits for its
// end; in a job when `bounded`. False when it is set and cannot be started.
bool startAndWait(const char* program, const char* name, bool bounded)
{
    char line[4096];
    const DWORD length = GetEnvironmentVariableA(name, line, sizeof line);
    if (length == 0)
        return true;
    if (length >= sizeof line)
        return false;
    HANDLE job = bounded ? killingJob() : nullptr;
    const DWORD flags = bounded ? CREATE_SUSPENDED | CREATE_NO_WINDOW : 0;
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(program, line, nullptr, nullptr, TRUE, flags, nullptr,
                                        nullptr, &startup, &process) != 0;
    if (started) {
        if (job != nullptr) {
            AssignProcessToJobObject(job, process.hProcess);
            ResumeThread(process.hThread);
        }
        CloseHandle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        if (job != nullptr) {
            // Ended in time: the launcher lifts the job's limit before it closes the job.
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
            std::memset(&limits, 0, sizeof limits);
            SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        }
        CloseHandle(process.hProcess);
    }
    if (job != nullptr)
        CloseHandle(job);
    return started;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The launcher imports advapi32 as well; taking a function's address keeps the import.
    volatile auto keepAdvapi32 = &RegCloseKey;
    (void)keepAdvapi32;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "BenchWindow";
    if (RegisterClassA(&windowClass) == 0)
        return 1;
    HWND window = CreateWindowExA(0, "BenchWindow", "", WS_POPUP, CW_USEDEFAULT, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    char program[MAX_PATH * 4];
    const DWORD length = GetEnvironmentVariableA("QRV_BENCH_JVM", program, sizeof program);
    const bool started = length == 0 || (length < sizeof program &&
                                         startAndWait(program, "QRV_BENCH_TESTRUN", true) &&
                                         startAndWait(program, "QRV_BENCH_WIZARD", false));
    DestroyWindow(window);
    return started ? 0 : 1;
}
