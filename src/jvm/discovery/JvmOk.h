// Acceptance of one JVM: its version against the settings, and a test run of the package's
// test class.
#pragma once

#include <string>

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
    // The architecture every JVM program must be built for from now on ("x64", "x86",
    // "arm64"; empty for any), read from its PE header before any run.
    static void setArchitecture(const char* architecture) { requiredArchitecture = architecture; }
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
    // As the first form for a home whose version nothing tells: without a test class the JVM
    // is asked for its version ("-version"), and one that does not say it is turned down.
    bool jvmCorrectAskedVersion(const char* required, const char* minimum, const char* maximum,
                                const char* jvmDir, char* jvmCommand, char* jvmPath);

private:
    // The first form without the report of a rejection.
    bool findCorrectProgram(const char* required, const char* minimum, const char* maximum,
                            const char* jvmDir, char* jvmCommand, char* jvmPath);
    // The version the program at `jvmPath` reports, read from its output; empty when none.
    std::string askVersion(const char* jvmPath);
    // Tells the run's search that `jvmDir` was turned down and why; `saved` goes back into
    // `jvmCommand`. Always false.
    bool rejected(const char* jvmDir, char* jvmCommand, const TextBuffer& saved);

    TextBuffer traceFilename{PathCapacity};
    // Why the last check failed, and the version it saw (empty when none).
    const char* verdict = "no JVM program";
    std::string verdictVersion;
    static unsigned testTimeoutSeconds;
    static std::string requiredArchitecture;
};
