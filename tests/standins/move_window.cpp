// Tool for the documentation's screenshot: moves the top-level window with the given caption to
// x, y (so that a message box does not cover the window being pictured).
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr)
        return 1;
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
}
