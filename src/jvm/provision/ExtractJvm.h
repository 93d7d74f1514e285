// Sets up a JVM that the package carries as a self-expanding program: expansion into the chosen
// directory, location of its program, registration under the JavaSoft keys (which only ever
// adds what is missing) and copies of its launchers into the Windows directory.
#pragma once

#include <windows.h>

#include <string>

#include "diag/Trace.h"
#include "jvm/provision/RunChanges.h"
#include "util/Registry.h"
#include "util/TextBuffer.h"
#include "ui/Status.h"
#include "util/Capacity.h"

class ExtractJvm : public Trace, public Status {
public:
    ExtractJvm();
    ~ExtractJvm() override;

    // The configureWinRegistry switch of "qrv.control" (or "native.properties" when the control
    // file cannot be opened); true when neither exists or the line is missing.
    bool configureWinReg();

    // Registers a JVM home under `productKey`\`versionName` of HKEY_LOCAL_MACHINE, adding only
    // missing values. False only when the version key can be neither opened nor created.
    bool addJvmToRegistry(const char* productKey, const char* homeValueName,
                          const char* versionName, const char* micro, const char* home,
                          const char* commandName);
    // Creates the product key when missing and names the family of `versionName` as its
    // "CurrentVersion" when that value is missing or empty.
    void addJvmTopLevelKey(const char* productKey, const char* versionName);
    // Opens (or creates) root\subkey with write access into `key`.
    bool addToRegistry(HKEY root, const char* subkey, RegKey& key);
    // Writes the home value, then "MicroVersion"; the outcome of the second.
    bool addJvmSubentries(HKEY key, const char* homeValueName, const char* versionName,
                          const char* micro, const char* home);
    // Writes `name` = `text` unless the value already holds something; true when the value
    // exists afterwards.
    bool addValueToRegistry(HKEY key, const char* name, const char* text);

    // Expands the packaged JVM (or takes one already in place), configures and tests it; on
    // success `jvmCommand` names its program.
    bool extractJvm(const char* required, const char* minimum, const char* maximum,
                    const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                    const char* jvmSelfExtractor, const char* predefinedJvmInstallDir,
                    const char* jvmHomeDir, char* jvmCommand, const char* homeDir);
    bool installCompressedJvm(const char* required, const char* minimum, const char* maximum,
                              const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                              const char* jvmSelfExtractor, const char* predefinedJvmInstallDir,
                              const char* jvmHomeDir, char* jvmCommand, const char* homeDir,
                              char* jvmDir);
    bool getJvmInstallerCommand(const char* filename, char* command, const char* dir);
    // Finds the JVM program under `jvmDir` (renaming an old "jre" name to what exists) and, when
    // `registerJvm`, registers the JVM and copies its launchers. `jvmCommandName` holds PathCapacity bytes.
    bool configureJvm(const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                      const char* jvmDir, const char* homeDir, bool registerJvm);
    bool configureWinJvm(const char* jvmVersion, const char* jvmName, const char* program,
                         const char* jvmDir);
    bool _configureWinJvm(const char* jvmVersion, const char* jvmName, const char* program,
                          const char* jvmDir);
    bool configureJre(const char* family, const char* micro, const char* home,
                      const char* program);
    bool configureJava2(const char* family, const char* micro, const char* home,
                        const char* program);
    bool copyJreFilesToHome(const char* family, const char* home, const char* program);
    bool copyJvmFile(const char* source, const char* destination);

    bool isJvmInstalled() const { return jvmInstalled; }
    bool isJvmDiscovered() const { return jvmDiscovered; }
    // The path of this road that could not be handed to the expander or the expanded JVM;
    // empty when there was none.
    const std::string& unhandedPath() const { return unhanded; }

private:
    // Runs the expanding program in `jvmDir`; the current directory is back on every road.
    bool expand(const char* jvmSelfExtractor, const char* jvmDir);

    // A JVM that failed: what this run registered and copied for it taken back, its directory
    // removed where this run made it, the free space of its disk and TEMP's logged.
    void undoFailedJvm(const char* jvmDir);

    TextBuffer homeDirectory{PathCapacity};
    RunChanges changes;
    // The key that addToRegistry opened last, which the values written next go into.
    std::string writingKey;
    bool jvmInstalled = false;
    bool jvmDiscovered = false;
    std::string unhanded;
};
