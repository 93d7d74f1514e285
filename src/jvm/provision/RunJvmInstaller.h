// Runs a JVM vendor's installer program from the package and finds the JVM it installed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "diag/Trace.h"
#include "jvm/provision/InstallerCommand.h"
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
    // The path of this road that could not be handed to the installer (a JVM found below its
    // directory is only passed over for it); empty when there was none.
    const std::string& unhandedPath() const { return unhanded; }

    // After a run that found no JVM: what the user is told, when the installer's exit code says
    // more than the general texts (empty otherwise).
    const std::string& failureMessage() const { return failureMessage_; }
    const std::string& failureDetails() const { return failureDetails_; }
    // The full path of the log that msiexec was asked to write; empty when none was asked for.
    const std::string& msiexecLog() const { return msiexecLog_; }

    // For tests only: the length of one of the seconds waited before another start when another
    // installation is in progress. The program itself never changes it.
    static void setBusyWaitSecondMs(unsigned long ms);

private:
    // Reads the installer's exit code and looks for the JVM it installed.
    bool judgeInstallerRun(const char* jvmVersion, const char* jvmName, char* jvmCommand,
                           const char* jvmDir, char* jvmPath);
    // The program, arguments and log of a Windows Installer run: the system's own msiexec.
    void settleMsiexec(InstallerCommand& command, std::string& program);

    TextBuffer homeDirectory{PathCapacity};
    bool discovered = false;
    std::string unhanded;
    std::string installerFile_;
    unsigned long exitCode_ = 0;
    std::string msiexecLog_;
    std::string failureMessage_;
    std::string failureDetails_;
};
