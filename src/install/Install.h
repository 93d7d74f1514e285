// The installation driver: owns the control-file settings and runs the whole sequence once.
#pragma once

#include "diag/Trace.h"
#include "launcher/Status.h"
#include "util/TextBuffer.h"

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
    bool installTheJvm();
    bool installJvmBundle(char* versionText);
    bool installJvmInstaller(char* versionText);
    bool extractJvm();
    bool runThirdPartyInstaller();
    void getJavaHomeDir(char* out);
    void logJvmLocation(bool installed, const char* installDir, bool configureWinRegistry);
    bool addSecurity(bool isPlugin);
    bool configureWinReg();
    void showStatusMessage(unsigned number);

    // Wizard launch.
    bool runJavaInstaller(char* installDetails);
    bool runInstaller(char* installDetails);
    // Runs the wizard with the null-terminated `arguments`; true when it reported its start.
    bool _runInstaller(char** arguments);
    int countParameters(char* installDetails);
    // Appends one element to the class path in `classpath` (capacity `size`).
    void addClassElement(char* classpath, size_t size, const char* element);

    // Windows directory and search path.
    bool getHomeDirectory();
    // Finds the PATH entry that ends in `name`; writes it in lower case into `out` (5001 bytes).
    bool isDirInPath(const char* name, char* out);

    // End of the run.
    void cleanUp(bool installOk);
    void cleanUpManifest(bool installOk);
    void cleanUpJvmDir();
    void cleanUpErrorsLog();
    void cleanUpLogFiles();
    void _cleanUpLogFiles(const char* destination);
    bool isDirWriteProtected(const char* dir);
    void configureTempJvm(const char* jvmHome);

    // Read access for the classes and tests that look at the settled state.
    const char* getJvmCommand() const { return jvmCommand; }
    const char* getErrorMessage() const { return errorMessage; }
    const char* getErrorDetails() const { return errorDetails; }
    const char* getHomeDirectoryText() const { return homeDirectory; }

protected:
    bool winNT = false;
    TextBuffer jvmRequiredVersion{201};
    TextBuffer jvmMinVersion{201};
    TextBuffer jvmMaxVersion{201};
    TextBuffer jvmVersion{201};
    TextBuffer jvmCommandName{5001};
    TextBuffer jvmName{201};
    TextBuffer jvmInstallerType{5000};
    TextBuffer jvmSelfExtractor{5000};
    TextBuffer jvmInstallerBinary{5000};
    TextBuffer jvmInstallerCommand{5000};
    TextBuffer predefinedJvmInstallDir{5000};
    TextBuffer jvmHomeDir{5001};
    TextBuffer jvmExtraParameters{5000};
    TextBuffer loaderClasspath{5000};
    TextBuffer jvmClasspathSwitch{1000};
    TextBuffer loaderJavaCommand{5000};
    TextBuffer systemSecurityPolicyFilename{5001};
    TextBuffer userSecurityPolicyFilename{5001};
    TextBuffer keystoreFilename{5001};
    TextBuffer appletUrl{5000};
    TextBuffer searchForJvm{100};
    TextBuffer jvmCommand{5001};
    TextBuffer javaHomeDir{5001};
    TextBuffer controlFilename{5001};
    TextBuffer errorMessage{5000};
    TextBuffer errorDetails{5000};
    TextBuffer homeDirectory{5001};
    bool quietInstall = false;
    bool propertiesInstall = false;
};

// Runs one installation on the calling thread; the worker thread's whole job.
bool startProgram(bool quiet, bool propertiesInstall, char* installDetails);
