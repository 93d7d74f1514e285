#include "jvm/discovery/WinVersion.h"

#include <windows.h>

#include "util/FileNames.h"

namespace {
const WindowsDirPlace Places[] = {
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "SystemRoot", true},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "PathName", "PathName", true},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "WinDir", "WinDir", true},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SETUP", "WinDir", "Setup WinDir", true},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SETUP", "WinDir", "WinDir", false},
};
} // namespace

const WindowsDirPlace* readWindowsDirectory(bool winNT, bool win9xPlaceOnNt, RegType accepted,
                                            char* out, size_t capacity)
{
    for (const WindowsDirPlace& place : Places) {
        if (place.ntFamily ? !winNT : (winNT && !win9xPlaceOnNt))
            continue;
        // A cut value would name some other directory: it counts as none.
        if (readRegText(HKEY_LOCAL_MACHINE, place.key, place.value, out, capacity, accepted) ==
                RegRead::Whole &&
            out[0] != '\0')
            return &place;
        out[0] = '\0';
    }
    return nullptr;
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
    return GetVersion();
}

bool WinVersion::winNT()
{
    if (known)
        return isNT;
    const Family family = familyOf(queryVersion());
    if (family == Family::Unknown)
        traceMessage(file_names::TraceFilename, "Bad version of windows");
    isNT = family == Family::NT;
    known = true;
    return isNT;
}
