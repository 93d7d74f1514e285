// Program entry of the launcher.
#include <windows.h>

#include <cstring>

#include "install/Install.h"
#include "launcher/Globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    hInst = instance;
    const bool quiet = std::strncmp(commandLine, "-q ", 3) == 0;
    char details[] = "";
    return startProgram(quiet, false, details) ? 0 : 1;
}
