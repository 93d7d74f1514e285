// Search of the JavaSoft registry keys for a JVM that passes the version checks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "diag/Trace.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

class JvmWin : public Trace {
public:
    JvmWin();

    void setTraceFilename(const char* name) { traceFilename.set(name); }
    bool searchWindowsForJvm(const char* required, const char* minimum, const char* maximum,
                             const char* jvmName, char* jvmCommand, char* jvmPath);
    // Searches one product key in the process's own registry view, then in the other view
    // where the machine has one.
    bool searchRegistryForJvm(const char* productKey, const char* required, const char* minimum,
                              const char* maximum, char* jvmCommand, char* jvmPath);
    unsigned getJvmEntryCount(HKEY productKey);
    // Collects at most `count` subkey names.
    unsigned getAvailableVersions(HKEY productKey, unsigned count,
                                  std::vector<std::string>& names);
    bool findMostRecentJvm(const std::vector<std::string>& sortedNames, const char* productKey,
                           REGSAM view, const char* required, const char* minimum,
                           const char* maximum, char* jvmCommand, char* jvmPath);
    bool lookUpRegistryEntryForJvm(const char* productKey, REGSAM view, const char* required,
                                   const char* minimum, const char* maximum, char* version,
                                   char* jvmCommand, char* homeDir, char* jvmPath);

private:
    // The versions under one opened product key, most recent first.
    bool searchOpenKey(HKEY productKeyHandle, const char* productKey, REGSAM view,
                       const char* required, const char* minimum, const char* maximum,
                       char* jvmCommand, char* jvmPath);

    TextBuffer traceFilename{PathCapacity};
};

// Byte-wise order of two version names, as the search sorts them.
int compareStrings(const void* first, const void* second);
