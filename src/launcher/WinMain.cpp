// Program entry of the launcher.
#include <windows.h>

#include "install/Install.h"
#include "launcher/Globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    hInst = instance;
    char details[] = "";
    return startProgram(false, false, details) ? 0 : 1;
}
