// Runs a JVM vendor's installer program from the package and finds the JVM it installed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "diag/Trace.h"
#include "ui/Status.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

class RunJvmInstaller : public Trace, public Status {
public:
    RunJvmInstaller();

    // True when a suitable JVM is in place; its program path is then in `jvmPath`.
    bool run(const char* required, const char* minimum, const char* maximum,
             const char* jvmVersion, const char* jvmName, char* jvmCommand,
             const char* installerFile, char* installerCommand, char* jvmPath,
             const char* homeDir);
    bool installJvm(const char* jvmVersion, const char* jvmName, char* jvmCommand,
                    const char* installerFile, char* installerCommand, const char* jvmDir,
                    char* jvmPath);
    bool copyInstaller(const char* installerFile, const char* jvmDir);
    bool runInstaller(char* installerCommand, const char* jvmDir);
    // `commandLine`, when given, is what the installer is started with; `argv` then only shows
    // the start in the logs.
    bool executeInstaller(const char* program, const char* const* argv, const char* jvmDir,
                          const char* commandLine = nullptr);
    static const char* getStartNextArg(const char* separator);
    void removeInstaller(const char* installerFile, const char* jvmDir);
    bool jvmInNewDir(const char* required, const char* minimum, const char* maximum,
                     const char* jvmDir, char* jvmCommand, char* jvmPath);
    bool findInstalledJvm(const char* required, const char* minimum, const char* maximum,
                          const char* jvmName, char* jvmCommand, char* jvmPath);
    void removeEmptyDir(const char* dir);
    bool configureWinReg();
    // The path of this road that could not be handed to the installer or the installed JVM;
    // empty when there was none.
    const std::string& unhandedPath() const { return unhanded; }

private:
    TextBuffer homeDirectory{PathCapacity};
    bool discovered = false;
    std::string unhanded;
};
