// Entry to the search for an installed JVM.
#pragma once

#include "diag/Trace.h"
#include "util/Capacity.h"

class FindJvm : public Trace {
public:
    // True when a JVM passed; `jvmPath` (PathCapacity bytes) then names its program. On false the
    // command holds what the caller gave.
    bool isJvmInstalled(const char* required, const char* minimum, const char* maximum,
                        const char* jvmName, char* jvmCommand, char* jvmPath);
};
