// Chooses and creates the directory for a JVM the installer is about to install, or finds that
// a candidate directory already holds a suitable JVM.
#pragma once

#include "diag/Trace.h"
#include "ui/Status.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

#include <string>
#include <vector>

class JvmInstaller : public Trace, public Status {
public:
    JvmInstaller();
    ~JvmInstaller() override;

    // The Windows directory the driver found; the last base of the standard layout. Null is
    // ignored.
    void setHomeDirectory(const char* directory);
    // Writes the chosen directory into `directory` (PathCapacity bytes); `jvmCommand` (PathCapacity bytes)
    // receives the JVM program when a candidate already held a JVM that passed the test.
    bool createJvmDirectory(const char* required, const char* minimum, const char* maximum,
                            const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                            const char* predefinedJvmInstallDir, char* directory,
                            char* jvmCommand);
    bool isJvmDiscovered() const { return jvmDiscovered; }
    // The directories this run made while it chose one, the outer levels first.
    const std::vector<std::string>& madeDirectories() const { return made; }
    // Removes the tree `directory`\jvm left by an earlier run, when there is one.
    void deleteTempJvmDir(const char* directory);

protected:
    // The documents folder shared by all users, or the user's own when that is unavailable.
    virtual bool getDocumentsDirectory(char* out);

private:
    std::vector<std::string> made;
    bool _createJvmDirectory(const char* required, const char* minimum, const char* maximum,
                             const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                             const char* predefinedJvmInstallDir, char* directory,
                             char* jvmCommand);
    bool getNewJvmInstallerTo(const char* predefined, char* out);
    bool getVariableDir(const char* variable, const char* variableDir, const char* predefined,
                        char* out);
    bool createPredeterminedJvmDirectory(const char* required, const char* minimum,
                                         const char* maximum, const char* jvmVersion,
                                         char* jvmCommandName, const char* directory,
                                         char* jvmCommand);
    bool createWinJvmDirectory(const char* required, const char* minimum, const char* maximum,
                               const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                               char* directory, char* jvmCommand);
    bool createJvmSubdirectory(const char* required, const char* minimum, const char* maximum,
                               const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                               char* directory, char* jvmCommand);
    bool foundValidJvm(const char* required, const char* minimum, const char* maximum,
                       char* jvmCommandName, const char* directory, char* jvmCommand);
    // The verdict on a candidate's JVM (its versions, its test run); the one place that asks
    // the version checker.
    virtual bool jvmCorrectVersion(const char* required, const char* minimum,
                                   const char* maximum, const char* directory,
                                   char* jvmCommandName, char* jvmCommand);
    bool addDirectory(char* directory, const char* name);
    bool addDirectory(const char* path);
    bool getProgramsDirectory(char* out);
    bool getProgramFilesDirectory(char* out);
    bool getWindowsDirectory(char* out);
    bool isVistaOrWindows7();

    TextBuffer homeDirectory;
    bool jvmDiscovered = false;
};
