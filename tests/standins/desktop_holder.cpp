// Keeps Wine's desktop process up for a whole test run. The first window of a prefix makes Wine
// start that process, which inherits the output of the program that caused it; started by the
// test scripts with its output in a file, this program takes that cost once, so no test program
// waits for the desktop to come up or, through a pipe it inherited, to go away.
//
// Usage: desktop_holder.exe <flag file>. Creates a hidden window, then the flag file, and ends
// when the flag file is removed (the scripts also stop it by its process id, and Wine with it).
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    HWND window = CreateWindowExA(0, "STATIC", "desktop holder", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
        return 1;
    FILE* flag = std::fopen(argv[1], "w");
    if (flag == nullptr) {
        DestroyWindow(window);
        return 1;
    }
    std::fclose(flag);
    while (GetFileAttributesA(argv[1]) != INVALID_FILE_ATTRIBUTES) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return 0;
}
