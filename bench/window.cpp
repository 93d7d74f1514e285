// The least a windowed program with the launcher's imports does: register a class (with the
// launcher's brush and cursor), create a hidden window, take it down and end. The launcher
// benchmark measures the launcher against this, so that Wine's start-up, loading the same DLLs
// and the first window's cost are not counted as the launcher's own.
// With QRV_BENCH_TESTRUN and QRV_BENCH_WIZARD set (two command lines), it then starts both
// programs one after the other and waits for each, as the launcher starts its JVM: the test run
// with no console window, the wizard plainly. A console program started by a windowed one needs
// a console of its own (conhost), which a console parent would lend it: that cost is the floor
// of the launcher's road too, not its own.
#include <windows.h>

namespace {

// Starts the command line in the variable `name`, when set, and waits for its end; false when
// it is set and cannot be started.
bool startAndWait(const char* name, DWORD flags)
{
    char line[4096];
    const DWORD length = GetEnvironmentVariableA(name, line, sizeof line);
    if (length == 0)
        return true;
    if (length >= sizeof line)
        return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
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
    const bool started = startAndWait("QRV_BENCH_TESTRUN", CREATE_NO_WINDOW) &&
                         startAndWait("QRV_BENCH_WIZARD", 0);
    DestroyWindow(window);
    return started ? 0 : 1;
}
