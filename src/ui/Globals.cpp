#include "ui/Globals.h"

HINSTANCE hInst = nullptr;
HWND volatile hDlgMain = nullptr;
char waitInstallFilename[PathCapacity] = "";
char showDialogFilename[PathCapacity] = "";
