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

protected:
    virtual unsigned long queryVersion();

private:
    bool isNT = false;
    bool known = false;
};
