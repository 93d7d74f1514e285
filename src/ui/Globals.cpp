#include "ui/Globals.h"

HINSTANCE hInst = nullptr;
HWND volatile hDlgMain = nullptr;
// Zero from the start, as every global: no byte of them in the program file.
char waitInstallFilename[PathCapacity];
char showDialogFilename[PathCapacity];
