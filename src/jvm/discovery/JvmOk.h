// Acceptance of one JVM: its version against the settings, and a test run of the package's
// test class.
#pragma once

#include "diag/Trace.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

class JvmOk : public Trace {
public:
    JvmOk();

    void setTraceFilename(const char* name) { traceFilename.set(name); }
    // How long a test run may take, in seconds, for every test run of the process from now on
    // (the control file's jvmTestTimeout); a run that takes longer is ended and the JVM rejected.
    static void setTestTimeout(unsigned seconds) { testTimeoutSeconds = seconds; }
    static unsigned testTimeout() { return testTimeoutSeconds; }
    bool verifyVersion(const char* required, const char* minimum, const char* maximum,
                       const char* version);
    // `line` (at least 1000 bytes) is reduced to the version it holds.
    bool testLine(char* line, const char* required, const char* minimum, const char* maximum);
    bool checkVersion(const char* resultsFilename, const char* required, const char* minimum,
                      const char* maximum);
    bool testVersion(const char* required, const char* minimum, const char* maximum,
                     const char* jvmPath);
    bool correctVersion(const char* required, const char* minimum, const char* maximum,
                        const char* jvmPath);
    // Looks for the program `jvmCommand` (PathCapacity bytes, may change to its "java" form) in
    // `jvmDir` and its "bin"; `jvmPath` (PathCapacity bytes) receives the program that passed.
    bool jvmCorrectVersion(const char* required, const char* minimum, const char* maximum,
                           const char* jvmDir, char* jvmCommand, char* jvmPath);
    // As above, and the registered `jvmVersion` must satisfy the settings too.
    bool jvmCorrectVersion(const char* required, const char* minimum, const char* maximum,
                           const char* jvmVersion, const char* jvmDir, char* jvmCommand,
                           char* jvmPath);

private:
    TextBuffer traceFilename{PathCapacity};
    static unsigned testTimeoutSeconds;
};
