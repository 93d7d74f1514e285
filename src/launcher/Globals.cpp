#include "launcher/Globals.h"

HINSTANCE hInst = nullptr;
HWND volatile hDlgMain = nullptr;
char waitInstallFilename[SemaphorePathCapacity] = "";
char showDialogFilename[SemaphorePathCapacity] = "";
