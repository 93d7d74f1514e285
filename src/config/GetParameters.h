// Reader of the package's control file "qrv.control" into the caller's setting buffers.
#pragma once

#include <windows.h>

#include <string>

#include "config/ControlText.h"
#include "diag/Trace.h"
#include "ui/Status.h"

class GetParameters : public Trace, public Status {
public:
    // Fills the setting buffers (capacities as control_file::Settings gives them; the control
    // file's name comes after the first 22). False when the file cannot be read or rewritten;
    // the error has then been logged and shown.
    bool getParameters(char* requiredVersion, char* minVersion, char* maxVersion,
                       char* jvmVersion, char* jvmName, char* jvmCommandName,
                       char* jvmInstallerType, char* jvmSelfExtractor, char* jvmInstallerBinary,
                       char* jvmInstallerCommand, char* predefinedJvmInstallDir,
                       char* jvmHomeDir, char* jvmExtraParameters, char* classpathSwitch,
                       char* loaderClasspath, char* loaderJavaCommand, char* systemSecurity,
                       char* userSecurity, char* identityDb, char* appletUrl,
                       char* searchForJvm, char* jvmTestTimeout, char* controlFilename,
                       char* jvmBundledDir, char* jvmDownloadUrl, char* jvmArchitecture,
                       char* productName);

    bool convertLineEndings(const char* controlFilename);
    bool parseParameters(char* const* settings, const char* controlFilename);
    bool verifyParameters(char* requiredVersion, char* minVersion, char* jvmVersion,
                          char* jvmName, char* jvmCommandName, char* loaderClasspath);
    void removeExtraBackSlashes(char* text);
    // The first configureWinRegistry line that parseParameters read; empty when there was none.
    const std::string& configureWinRegistryLine() const { return switchLine; }

private:
    // Traces why `line` (a piece that `file` handed out) sets nothing, when it does not, and
    // what a line that is taken hides: a blank after its key, letters the code page lacks.
    void traceLineNotTaken(const ControlText& file, const char* line,
                           const char* controlFilename);

    std::string switchLine;
};

// The configureWinRegistry switch, read from "qrv.control" or else "native.properties"; true
// when neither says otherwise. `tracer` writes the traces, the last under `classLabel`.
bool readConfigureWinRegistry(Trace& tracer, const char* classLabel);

// The same switch, traced the same way, from the first configureWinRegistry line of a control
// file read already (empty: it has none).
bool configureWinRegistryOfLine(Trace& tracer, const std::string& line, const char* classLabel);

// Whether the control file's readOnlyPackage key asks a package that cannot be written to stop
// with its report instead of running from a copy; read without tracing, as nothing of the
// package can be written then.
bool readOnlyPackageStops();
