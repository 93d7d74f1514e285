// State that the main thread sets up before the worker starts and the worker only reads.
#pragma once

#include <windows.h>

#include "util/Capacity.h"

extern HINSTANCE hInst;
// The status dialog; cleared by the main thread when the user closes it.
extern HWND volatile hDlgMain;
// Full paths of the semaphore files (PathCapacity bytes); empty until the entry point has
// built them.
extern char waitInstallFilename[];
extern char showDialogFilename[];
