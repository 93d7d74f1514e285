// Which family of Windows the program runs on.
#pragma once

#include "diag/Trace.h"

class WinVersion : public Trace {
public:
    // True on the NT family (Windows NT, 2000, XP and later).
    bool winNT();

    // Test hook: makes winNT answer as on the given family instead of asking Windows. The
    // product never sets it.
    enum class Family { AskWindows, NT, Win9x };
    static void overrideFamily(Family family);
};
