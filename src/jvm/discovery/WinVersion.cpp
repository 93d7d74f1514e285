#include "jvm/discovery/WinVersion.h"

#include <windows.h>

namespace {
WinVersion::Override familyOverride = WinVersion::Override::AskWindows;
}

void WinVersion::overrideFamily(Override family)
{
    familyOverride = family;
}

WinVersion::Family WinVersion::familyOf(unsigned long packedVersion)
{
    // The high bit is clear on the NT family; set, with a major version above 3, on Windows 95,
    // 98 and Me. Anything else is a Windows that this program does not know.
    if ((packedVersion & 0x80000000ul) == 0)
        return Family::NT;
    if ((packedVersion & 0xfful) > 3)
        return Family::Windows9x;
    return Family::Unknown;
}

unsigned long WinVersion::queryVersion()
{
    // A packed version of the overridden family, so the rest of the rule stays the same.
    switch (familyOverride) {
    case Override::NT:
        return 0x1db10106ul;
    case Override::Win9x:
        return 0xc0000004ul;
    case Override::AskWindows:
        break;
    }
    return GetVersion();
}

bool WinVersion::winNT()
{
    if (known)
        return isNT;
    const Family family = familyOf(queryVersion());
    if (family == Family::Unknown)
        traceMessage("jinstall.log", "Bad version of windows");
    isNT = family == Family::NT;
    known = true;
    return isNT;
}
