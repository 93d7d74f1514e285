// Which family of Windows the program runs on.
#pragma once

#include "diag/Trace.h"

class WinVersion : public Trace {
public:
    // True on the NT family (Windows NT, 2000, XP and later). Asked once per object.
    bool winNT();

    // The family of a packed version as GetVersion returns it.
    enum class Family { NT, Windows9x, Unknown };
    static Family familyOf(unsigned long packedVersion);

    // Test hook: makes every object answer as on the given family instead of asking Windows.
    // The product never sets it.
    enum class Override { AskWindows, NT, Win9x };
    static void overrideFamily(Override family);

protected:
    virtual unsigned long queryVersion();

private:
    bool isNT = false;
    bool known = false;
};
