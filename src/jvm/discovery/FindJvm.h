// Entry to the search for an installed JVM.
#pragma once

#include <windows.h>

#include "diag/Trace.h"

class FindJvm : public Trace {
public:
    void setHwnd(HWND window) { hwnd = window; }
    // True when a JVM passed; `jvmPath` (5001 bytes) then names its program. On false the
    // command holds what the caller gave.
    bool isJvmInstalled(const char* required, const char* minimum, const char* maximum,
                        const char* jvmName, char* jvmCommand, char* jvmPath);

private:
    HWND hwnd = nullptr;
};
