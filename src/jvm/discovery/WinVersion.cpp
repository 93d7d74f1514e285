#include "jvm/discovery/WinVersion.h"

#include <windows.h>

bool WinVersion::winNT()
{
    // The high bit of GetVersion is clear on the NT family and set on Windows 95, 98 and Me.
    return (GetVersion() & 0x80000000u) == 0;
}
