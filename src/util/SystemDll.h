// Loading of Windows system DLLs from the system directory only, so that a DLL planted beside
// the program (a downloads folder, the package directory) is never picked up.
#pragma once

#include <windows.h>

// Restricts the process's DLL search to the system directory where Windows offers it and takes
// the current directory out of the search path. Call first thing at program start.
void restrictDllSearch();

// Loads system DLL `name` ("shell32.dll") by its full path in the system directory; null when
// it cannot be loaded. The caller frees the module with FreeLibrary.
HMODULE loadSystemDll(const char* name);
