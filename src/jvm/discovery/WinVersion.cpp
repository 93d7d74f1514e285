#include "jvm/discovery/WinVersion.h"

#include <windows.h>

namespace {
WinVersion::Family familyOverride = WinVersion::Family::AskWindows;
}

void WinVersion::overrideFamily(Family family)
{
    familyOverride = family;
}

bool WinVersion::winNT()
{
    if (familyOverride != Family::AskWindows)
        return familyOverride == Family::NT;
    // The high bit of GetVersion is clear on the NT family and set on Windows 95, 98 and Me.
    return (GetVersion() & 0x80000000u) == 0;
}
