// The least a windowed program does: register a class, create a hidden window, take it down and
// end. The launcher benchmark measures the launcher against this, so that Wine's start-up and the
// first window's cost are not counted as the launcher's own.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
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
