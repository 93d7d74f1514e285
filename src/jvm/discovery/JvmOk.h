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
    // Whether the home `jvmDir` satisfies the package's versions, whoever names it (the search,
    // a directory a packaged JVM is to go to): its `knownVersion` (may be empty), else the
    // version of its "release" file, checked together with the test run; with neither, as
    // jvmCorrectAskedVersion.
    bool jvmHomeFits(const char* required, const char* minimum, const char* maximum,
                     const char* knownVersion, const char* jvmDir, char* jvmCommand,
                     char* jvmPath);
    // The JAVA_VERSION of the home's "release" file; empty without one.
    static std::string releaseVersion(const char* home);
    // The path that the last check could not hand to the JVM (its program, its working
    // directory); empty when every one could be. The candidate is rejected with its own reason.
    const std::string& unhandedPath() const { return unhanded; }

private:
    // The first form without the report of a rejection.
    bool findCorrectProgram(const char* required, const char* minimum, const char* maximum,
                            const char* jvmDir, char* jvmCommand, char* jvmPath);
    // The version the program at `jvmPath` reports, read from its output; empty when none.
    std::string askVersion(const char* jvmPath);
    // Notes `path` as one that could not be handed on, with its verdict. Always false.
    bool notHandedOn(const std::string& path);
    // Tells the run's search that `jvmDir` was turned down and why; `saved` goes back into
    // `jvmCommand`. Always false.
    bool rejected(const char* jvmDir, char* jvmCommand, const TextBuffer& saved);

    TextBuffer traceFilename{PathCapacity};
    // Why the last check failed, and the version it saw (empty when none).
    const char* verdict = "no JVM program";
    std::string verdictVersion;
    std::string unhanded;
    static unsigned testTimeoutSeconds;
    static std::string requiredArchitecture;
};
