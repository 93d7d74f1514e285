// The least a windowed program with the launcher's imports does: register a class (with the
// launcher's brush and cursor), create a hidden window, take it down and end. The launcher
// benchmark measures the launcher against this, so that Wine's start-up, loading the same DLLs
// and the first window's cost are not counted as the launcher's own.
#include <windows.h>

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
    DestroyWindow(window);
    return 0;
}
