// Which family of Windows the program runs on, and where the registry names its directory.
#pragma once

#include <cstddef>

#include "diag/Trace.h"
#include "util/Registry.h"

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

// One registry place that names the Windows directory.
struct WindowsDirPlace {
    const char* key;    // under HKEY_LOCAL_MACHINE
    const char* value;
    const char* label;  // "SystemRoot", "PathName", "WinDir", "Setup WinDir"
    bool ntFamily;      // false for the one place of Windows 9x
};

// Asks the places in order (the NT family's four on NT, then the Windows 9x one when
// `win9xPlaceOnNt`; only the Windows 9x one otherwise) and returns the first that holds a whole,
// non-empty text of an `accepted` type, with that text in `out`. Null, with `out` empty, when
// none does.
const WindowsDirPlace* readWindowsDirectory(bool winNT, bool win9xPlaceOnNt, RegType accepted,
                                            char* out, size_t capacity);
