// The search for an installed JVM beyond the JavaSoft product keys of Java 8 and older: the keys
// that Java 9 and later and the JVM distributions write, JAVA_HOME and JDK_HOME, and PATH. Each
// home found passes the same checks as a registered JVM. Reads the registry, never writes it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "diag/Trace.h"
#include "jvm/discovery/JvmSearch.h"
#include "util/Capacity.h"
#include "util/TextBuffer.h"

class JvmSources : public Trace {
public:
    JvmSources();

    void setTraceFilename(const char* name) { traceFilename.set(name); }
    // Tries every source in order; true at the first JVM that passes, `jvmPath` (PathCapacity
    // bytes) then names its program and `jvmCommand` may have taken its "java" form. On false
    // the command holds what the caller gave.
    bool searchForJvm(const char* required, const char* minimum, const char* maximum,
                      char* jvmCommand, char* jvmPath);
    // The runtime a package carries in `home`, judged as any home found by the search.
    bool tryBundled(const char* home, const char* required, const char* minimum,
                    const char* maximum, char* jvmCommand, char* jvmPath);

    // One registry layout: the product key, the value that names the home and where it lies.
    struct RegistrySource;

private:
    // The source in HKLM (both views) or HKCU; traces its outcome when its key exists.
    bool searchRegistry(HKEY root, const RegistrySource& source);
    // The version keys of one view of the source's open product key, newest first.
    bool searchKey(REGSAM view, HKEY productKey, const RegistrySource& source,
                   const std::string& traceName);
    bool searchEnvironment(const char* name);
    bool searchPath();
    // The checks of a registered JVM for one home. `version` is the registered version (empty:
    // the home's release file, else `fallbackVersion`, else the test run alone decides).
    bool tryHome(const std::string& rawHome, const std::string& version,
                 const std::string& fallbackVersion);
    void start(const char* required, const char* minimum, const char* maximum, char* jvmCommand,
               char* jvmPath);
    // The search of the run, or one of this object's own outside a run's search.
    JvmSearch& search() { return JvmSearch::current() != nullptr ? *JvmSearch::current() : ownSearch; }
    bool holdsJvmProgram(const std::string& dir);

    TextBuffer traceFilename{PathCapacity};
    TextBuffer savedCommand{PathCapacity};
    const char* required_ = "";
    const char* minimum_ = "";
    const char* maximum_ = "";
    char* jvmCommand_ = nullptr;
    char* jvmPath_ = nullptr;
    JvmSearch ownSearch;
};
