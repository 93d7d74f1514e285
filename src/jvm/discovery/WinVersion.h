// Which family of Windows the program runs on.
#pragma once

#include "diag/Trace.h"

class WinVersion : public Trace {
public:
    // True on the NT family (Windows NT, 2000, XP and later).
    bool winNT();
};
