// The installation driver: owns the control-file settings and runs the whole sequence once.
#pragma once

#include "diag/Trace.h"
#include "install/ExitCodes.h"
#include "jvm/discovery/JvmSearch.h"
#include "ui/Status.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

#include <optional>
#include <string>

class Install : public Trace, public Status {
public:
    Install();
    ~Install() override = default;

    // The whole run; true when the Java wizard was started. `installDetails` is handed to the
    // wizard unchanged.
    bool install(bool quiet, bool propertiesInstall, char* installDetails);

    bool getEnvironmentSetup();
    bool getWinEnvironmentSetup();
    bool getParams();
    bool isJvmInstalled();
    // The runtime the package carries in jvmBundledDir, judged as a found JVM and used where
    // it lies; false when there is none or it was turned down.
    bool isBundledJvmFit();
    bool installTheJvm();
    bool installJvmBundle(char* versionText);
    bool installJvmInstaller(char* versionText);
    bool extractJvm();
    bool runThirdPartyInstaller();
    void getJavaHomeDir(char* out);
    // Writes "native.properties" for the wizard; false (with the failure texts set) when the
    // file could not be written whole.
    bool logJvmLocation(bool installed, const char* installDir, bool configureWinRegistry);
    bool addSecurity(bool isPlugin);
    // False, with the failure texts and exit code set, when a path on a road that decided the
    // run (the accepted JVM, the packaged JVM's road, the wizard) could not be handed on to
    // another program in any form it can read; true otherwise. A candidate passed over is no
    // such road: its rejection carries the reason.
    bool allPathsHandedOn();
    // Keeps the first such path; an empty one changes nothing.
    void noteUnhanded(const std::string& path);
    bool configureWinReg();
    void showStatusMessage(unsigned number);

    // Wizard launch.
    bool runJavaInstaller(char* installDetails);
    bool runInstaller(char* installDetails);
    // Runs the wizard's JVM `program` (in its handed-on form) with the null-terminated
    // `arguments`; true when it reported its start.
    bool _runInstaller(const char* program, char** arguments);
    int countParameters(char* installDetails);
    // Appends one element to the class path in `classpath` (capacity `size`).
    void addClassElement(char* classpath, size_t size, const char* element);

    // Windows directory and search path.
    bool getHomeDirectory();
    // Finds the PATH entry that ends in `name`; writes it in lower case into `out` (PathCapacity bytes).
    bool isDirInPath(const char* name, char* out);

    // The failure box and errors.log; when no JVM fitted, with the JVMs turned down and the
    // package's download address.
    void reportFailure();

    // End of the run.
    void cleanUp(bool installOk);
    void cleanUpManifest(bool installOk);
    // The files the manifest names, the manifest and install.jar.
    void removePackageFiles();
    void cleanUpJvmDir();
    void cleanUpErrorsLog();
    void cleanUpLogFiles();
    void _cleanUpLogFiles(const char* destination);
    bool isDirWriteProtected(const char* dir);
    void configureTempJvm(const char* jvmHome);

    // The file whose removal takes the status dialog down (a full path); empty for none.
    void setShowDialogFilename(const char* path) { showDialogFilename.set(path); }

    // Read access for the classes and tests that look at the settled state.
    const char* getJvmCommand() const { return jvmCommand; }
    const char* getErrorMessage() const { return errorMessage; }
    const char* getErrorDetails() const { return errorDetails; }
    const char* getHomeDirectoryText() const { return homeDirectory; }
    // The process exit code of the run: the wizard's own once it started, else one of
    // exit_codes; OtherFailure until `install` has decided.
    int getExitCode() const { return exitCode; }

protected:
    // Which family of Windows this is; asked once per run by getWinEnvironmentSetup.
    virtual bool askWinNT();
    // Checks jvmArchitecture, jvmDownloadUrl and productName and puts them to work.
    void settleJvmChoiceKeys();

    bool winNT = false;
    TextBuffer jvmRequiredVersion{201};
    TextBuffer jvmMinVersion{201};
    TextBuffer jvmMaxVersion{201};
    TextBuffer jvmVersion{201};
    TextBuffer jvmCommandName{PathCapacity};
    TextBuffer jvmName{201};
    TextBuffer jvmInstallerType{5000};
    TextBuffer jvmSelfExtractor{5000};
    TextBuffer jvmInstallerBinary{5000};
    TextBuffer jvmInstallerCommand{5000};
    TextBuffer predefinedJvmInstallDir{5000};
    TextBuffer jvmHomeDir{PathCapacity};
    TextBuffer jvmExtraParameters{5000};
    TextBuffer loaderClasspath{5000};
    TextBuffer jvmClasspathSwitch{1000};
    TextBuffer loaderJavaCommand{5000};
    TextBuffer systemSecurityPolicyFilename{PathCapacity};
    TextBuffer userSecurityPolicyFilename{PathCapacity};
    TextBuffer keystoreFilename{PathCapacity};
    TextBuffer appletUrl{5000};
    TextBuffer searchForJvm{100};
    TextBuffer jvmTestTimeout{100};
    TextBuffer jvmBundledDir{PathCapacity};
    TextBuffer jvmDownloadUrl{5000};
    TextBuffer jvmArchitecture{100};
    TextBuffer productName{201};
    // The JVMs tried and turned down in this run.
    JvmSearch jvmSearch;
    TextBuffer jvmCommand{PathCapacity};
    TextBuffer javaHomeDir{PathCapacity};
    TextBuffer controlFilename{PathCapacity};
    TextBuffer errorMessage{5000};
    TextBuffer errorDetails{5000};
    TextBuffer homeDirectory{PathCapacity};
    TextBuffer showDialogFilename{PathCapacity};
    // The log msiexec wrote in this run, kept and removed with the trace; empty for none.
    TextBuffer msiexecLog{PathCapacity};
    // Set when "native.properties" could not be written: the run fails, no wizard starts.
    bool handOverFailed = false;
    // Set when the vendor's installer told why it installed nothing (its exit code, its log):
    // that text is what the user is told.
    bool installerSaidWhy = false;
    std::string unhandedPath;
    // The control file's first configureWinRegistry line ("" for none) once getParams has read
    // the file: the switch is not read from the file again.
    std::optional<std::string> switchLine;
    bool quietInstall = false;
    bool propertiesInstall = false;
    int exitCode = exit_codes::OtherFailure;
};

// Runs one installation on the calling thread; the worker thread's whole job. The status
// dialog stays up while `showDialogFilename` (a full path; empty when there is no dialog)
// exists: the driver removes it once the wizard starts or the run ends. `exitCode`, when given,
// receives the run's process exit code (Install::getExitCode).
bool startProgram(bool quiet, bool propertiesInstall, char* installDetails,
                  const char* showDialogFilename, int* exitCode = nullptr);
