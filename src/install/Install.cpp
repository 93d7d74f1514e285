#include "install/Install.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "config/ControlFileRules.h"
#include "config/GetParameters.h"
#include "exec/PathHandOn.h"
#include "ui/Language.h"
#include "install/InstallTexts.h"
#include "jvm/discovery/FindJvm.h"
#include "jvm/discovery/JvmOk.h"
#include "jvm/discovery/VersionRules.h"
#include "jvm/discovery/WinVersion.h"
#include "jvm/provision/ExtractJvm.h"
#include "jvm/provision/RunJvmInstaller.h"
#include "security/Security.h"
#include "util/File.h"
#include "util/DiskSpace.h"
#include "util/clib.h"

using namespace install_names;

namespace {

// Creates an empty file when it is missing; the file is closed again at once.
void touchFile(const char* name)
{
    const File file(name, "a");
}

} // namespace

bool startProgram(bool quiet, bool propertiesInstall, char* installDetails,
                  const char* showDialogFilename, int* exitCode)
{
    auto install = std::make_unique<Install>();
    install->setShowDialogFilename(showDialogFilename);
    const bool started = install->install(quiet, propertiesInstall, installDetails);
    if (exitCode != nullptr)
        *exitCode = install->getExitCode();
    return started;
}

Install::Install() = default;

bool Install::install(bool quiet, bool propertiesInstallSwitch, char* installDetails)
{
    traceMessage(TraceFilename, "");
    traceMessage(TraceFilename, "Preparing Java install wizard");
    quietInstall = quiet;
    // "Quite" as spelled in the log lines that existing packages' log readers look for.
    traceMessage(TraceFilename, "Quite install", quietInstall);
    propertiesInstall = propertiesInstallSwitch;
    traceMessage(TraceFilename, "Properties install", propertiesInstall);
    if (quietInstall || propertiesInstall) {
        setQuietMode(true);
        traceMessage(TraceFilename, "set status quite");
    }
    showStatusMessage(1);

    bool result = false;
    bool failed = false;
    exitCode = exit_codes::OtherFailure;
    unhandedPath.clear();
    const bool environmentOk = getEnvironmentSetup();
    errorMessage.clear();
    errorDetails.clear();
    if (!environmentOk) {
        failed = true;
    } else if (!getParams()) {
        logAndTraceMessage(ErrorsFilename, TraceFilename, "unable to get parameters");
        exitCode = exit_codes::ControlFile;
        failed = true;
    } else {
        bool installedHere = false;
        if (!isJvmInstalled()) {
            if (!installTheJvm()) {
                exitCode = exit_codes::NoJvm;
                failed = true;
                allPathsHandedOn();
            } else {
                installedHere = true;
            }
        }
        // A hand-over file that could not be written fails the run with its own texts.
        if (handOverFailed)
            failed = true;
        if (!failed) {
            showStatusMessage(2);
            if (runJavaInstaller(installDetails)) {
                result = true;
            } else {
                // One more attempt, with a freshly installed JVM, only when the JVM that failed
                // was found on the system.
                bool retryInstallFailed = false;
                if (!installedHere) {
                    showStatusMessage(4);
                    installerSaidWhy = false;
                    if (installTheJvm() && !handOverFailed) {
                        showStatusMessage(5);
                        result = runJavaInstaller(installDetails);
                    } else {
                        retryInstallFailed = true;
                    }
                }
                if (!result && handOverFailed) {
                    failed = true;
                } else if (!result && !allPathsHandedOn()) {
                    failed = true;
                } else if (!result && retryInstallFailed && installerSaidWhy) {
                    // Why the new JVM is missing says more than a guess about the old one.
                    exitCode = exit_codes::WizardNotStarted;
                    failed = true;
                } else if (!result) {
                    errorMessage.set(
                        "Unable to start the install wizard.\r\rIs there a \"java\" command in "
                        "the path that doesn't start the JRE?\r\rIf there is, remove it and try "
                        "the installer again.");
                    errorDetails.format("%s\n%s", otherCausesText, diskSpaceText);
                    exitCode = exit_codes::WizardNotStarted;
                    failed = true;
                }
            }
        }
    }

    if (failed) {
        if (errorMessage.empty())
            errorMessage.format("Unable to install application.\r\r%s", diskSpaceText);
        if (errorDetails.empty())
            errorDetails.set(otherCausesText);
        logAndTraceMessage(ErrorsFilename, TraceFilename, errorMessage);
        logAndTraceMessage(ErrorsFilename, TraceFilename, errorDetails);
        reportFailure();
        result = false;
    }

    cleanUp(result);
    if (!showDialogFilename.empty())
        removeFile(showDialogFilename);
    return result;
}

bool Install::getEnvironmentSetup()
{
    if (!fexists(TraceFilename)) {
        touchFile(TraceFilename);
        touchFile(TempTraceFilename);
    }
    if (!getWinEnvironmentSetup()) {
        logAndTraceMessage(ErrorsFilename, TraceFilename, "unable to configure environment");
        return false;
    }
    getHomeDirectory();
    return true;
}

bool Install::getWinEnvironmentSetup()
{
    winNT = askWinNT();
    return true;
}

bool Install::askWinNT()
{
    return WinVersion().winNT();
}

bool Install::installTheJvm()
{
    TextBuffer versionText(PathCapacity);
    if (!jvmRequiredVersion.empty())
        versionText.set(jvmRequiredVersion);
    else if (!jvmMaxVersion.empty())
        versionText.format("%s - %s", jvmMinVersion.c_str(), jvmMaxVersion.c_str());
    else
        versionText.format("%s or a later version", jvmMinVersion.c_str());

    if (_stricmp(jvmInstallerType, SelfExtratorJvmInstaller) == 0)
        return installJvmBundle(versionText);
    if (_stricmp(jvmInstallerType, ThirdPartyJvmInstaller) == 0)
        return installJvmInstaller(versionText);

    errorMessage.format("The correct version of the %s was not found on your system.",
                        jvmName.c_str());
    errorDetails.format("Please install the correct %s. You need version %s, %s memory model. "
                        "Then restart this installation program.",
                        jvmName.c_str(), versionText.c_str(), "x64");
    return false;
}

namespace {

// The common shape of both packaged-JVM roads: check the packaged file, install, or explain.
template <typename InstallStep>
bool installPackaged(Install& driver, TextBuffer& errorMessage, TextBuffer& errorDetails,
                     const char* packagedFile, const char* jvmName, const char* jvmVersion,
                     const char* versionText, InstallStep step)
{
    if (*packagedFile == '\0') {
        errorMessage.format("The correct version of the %s was not found on your system.",
                            jvmName);
        errorDetails.format("Please install %s %s and then restart this installation program.",
                            jvmName, versionText);
        return false;
    }
    if (!fexists(packagedFile)) {
        errorMessage.format("Unable to find %s %s on your system.", jvmName, versionText);
        errorDetails.set("Please install the JVM and re-start this installer.");
        return false;
    }
    driver.showStatusMessage(4);
    driver.traceMessage(TraceFilename, "attempting to install jvm", jvmVersion);
    errorMessage.clear();
    errorDetails.clear();
    if (step())
        return true;
    // A step that knows the cause has said it already.
    if (!errorMessage.empty())
        return false;
    errorMessage.format("Unable to install %s %s. %s", jvmName, jvmVersion, diskSpaceText);
    errorDetails.set(otherCausesText);
    return false;
}

} // namespace

bool Install::installJvmBundle(char* versionText)
{
    return installPackaged(*this, errorMessage, errorDetails, jvmSelfExtractor, jvmName,
                           jvmVersion, versionText, [this] { return extractJvm(); });
}

bool Install::installJvmInstaller(char* versionText)
{
    return installPackaged(*this, errorMessage, errorDetails, jvmInstallerBinary, jvmName,
                           jvmVersion, versionText, [this] { return runThirdPartyInstaller(); });
}

bool Install::logJvmLocation(bool installed, const char* installDir, bool configureWinRegistry)
{
    // The wizard's JVM reads this file with an 8-bit (ISO-8859-1) reader: the home goes in the
    // legacy code page's bytes, by its short name where that code page lacks its letters.
    // The separators become '/' before the encoding: in a code page of two-byte letters a
    // backslash's byte is also the second byte of a letter.
    std::string home;
    PathHandOn handOn(TraceFilename);
    if (!handOn.fileForm(javaHomeDir, home, true)) {
        handOverFailed = true;
        noteUnhanded(handOn.failedPath());
        allPathsHandedOn();
        return false;
    }
    std::string lines = "nativeJvmHomeDir=" + home + "\n";
    if (installed) {
        lines += "nativeJvmInstalled=true\n";
        if (installDir != nullptr && *installDir != '\0') {
            const bool inTemp =
                std::strncmp(installDir, AppDirVariable, std::strlen(AppDirVariable)) == 0;
            lines += std::string("nativeJvmInstalledInTemp=") + (inTemp ? "true" : "false") + "\n";
        }
    } else {
        lines += "nativeJvmInstalled=false\nnativeJvmInstalledInTemp=false\n";
    }
    lines += std::string("configureWinRegistry=") + (configureWinRegistry ? "true" : "false") + "\n";

    // The wizard reads this file: a truncated one must never reach it. It is written whole to a
    // work file first and put in place only then; errno is taken at the call that failed first.
    File properties(NativeWorkFilename, "wt");
    int error = properties ? 0 : errno;
    DWORD systemError = properties ? 0 : GetLastError();
    bool written = properties && std::fputs(lines.c_str(), properties.get()) >= 0;
    if (properties && !written) {
        error = errno;
        systemError = GetLastError();
    }
    if (!properties.close() && written) {
        error = errno;
        systemError = GetLastError();
        written = false;
    }
    if (written && replaceFile(NativeWorkFilename, NativePropertiesFilename))
        return true;
    if (written) {
        error = EACCES;
        systemError = GetLastError();
    }
    removeFile(NativeWorkFilename);
    removeFile(NativePropertiesFilename);
    handOverFailed = true;
    // The wizard cannot be started without it.
    exitCode = exit_codes::WizardNotStarted;
    errorMessage.format("Unable to install application.\r\r%s", diskSpaceText);
    const std::string folder = currentDirectory();
    errorDetails.format("Unable to write %s\\%s: %s\n%s", folder.c_str(),
                        NativePropertiesFilename,
                        isDiskFull(systemError) || error == ENOSPC ? diskFullText(folder).c_str()
                                                : std::strerror(error),
                        otherCausesText);
    return false;
}

void Install::noteUnhanded(const std::string& path)
{
    if (unhandedPath.empty())
        unhandedPath = path;
}

bool Install::allPathsHandedOn()
{
    const std::string& path = unhandedPath;
    if (path.empty())
        return true;
    // Not "no JVM found": the JVM may well be there, only the name cannot reach it.
    exitCode = exit_codes::OtherFailure;
    errorMessage.format("The name of the folder in %s cannot be handed to Java on this system.",
                        path.c_str());
    errorDetails.set("Its letters are not in the system's code page and it has no short name. "
                     "Move the package to another folder, or turn on short (8.3) names or the "
                     "system's UTF-8 option, and start the installation again.");
    return false;
}

bool Install::getParams()
{
    auto reader = std::make_unique<GetParameters>();
    // A quiet run raises no message box, also not for an unreadable control file.
    reader->setQuietMode(isQuietMode());
    if (!reader->getParameters(
            jvmRequiredVersion, jvmMinVersion, jvmMaxVersion, jvmVersion, jvmName, jvmCommandName,
            jvmInstallerType, jvmSelfExtractor, jvmInstallerBinary, jvmInstallerCommand,
            predefinedJvmInstallDir, jvmHomeDir, jvmExtraParameters, jvmClasspathSwitch,
            loaderClasspath, loaderJavaCommand, systemSecurityPolicyFilename,
            userSecurityPolicyFilename, keystoreFilename, appletUrl, searchForJvm, jvmTestTimeout,
            controlFilename, jvmBundledDir, jvmDownloadUrl, jvmArchitecture, productName))
        return false;
    // Every test run of this run, whichever class starts it, is bounded by the package's limit.
    JvmOk::setTestTimeout(control_file::testTimeoutSeconds(jvmTestTimeout));
    switchLine = reader->configureWinRegistryLine();
    settleJvmChoiceKeys();
    return true;
}

bool Install::isJvmInstalled()
{
    const JvmSearch::Scope scope(jvmSearch);
    if (isBundledJvmFit())
        return true;
    if (_stricmp(searchForJvm, "no") == 0 || _stricmp(searchForJvm, "none") == 0) {
        traceMessage(TraceFilename, "Search for JVM:", searchForJvm.c_str());
        return false;
    }
    auto finder = std::make_unique<FindJvm>();
    showStatusMessage(3);
    if (!finder->isJvmInstalled(jvmRequiredVersion, jvmMinVersion, jvmMaxVersion, jvmName,
                                jvmCommandName, jvmCommand)) {
        traceMessage(TraceFilename, "Correct version of JVM was not found in common locations");
        return false;
    }
    traceMessage(TraceFilename, "Found correct version of JVM:", jvmCommand.c_str());
    getJavaHomeDir(javaHomeDir);
    const bool configureRegistry = configureWinReg();
    traceMessage(TraceFilename, "configWinReg in isJvmInstalled", configureRegistry);
    logJvmLocation(false, "", configureRegistry);
    return true;
}

void Install::getJavaHomeDir(char* out)
{
    TextBuffer work(PathCapacity);
    work.set(jvmCommand);
    version_rules::getJavaHomeDirectory(work, out, PathCapacity);
    traceMessage(TraceFilename, "jvm home dir", out);
}

bool Install::configureWinReg()
{
    constexpr const char* Label = "configWinReg in installer";
    return switchLine ? configureWinRegistryOfLine(*this, *switchLine, Label)
                      : readConfigureWinRegistry(*this, Label);
}

bool Install::extractJvm()
{
    auto extractor = std::make_unique<ExtractJvm>();
    const bool configureRegistry = extractor->configureWinReg();
    traceMessage(TraceFilename, "configWinReg in extractJvm", configureRegistry);
    const bool ok = extractor->extractJvm(jvmRequiredVersion, jvmMinVersion, jvmMaxVersion,
                                          jvmVersion, jvmName, jvmCommandName, jvmSelfExtractor,
                                          predefinedJvmInstallDir, jvmHomeDir, jvmCommand,
                                          homeDirectory);
    noteUnhanded(extractor->unhandedPath());
    if (ok) {
        if (extractor->isJvmInstalled()) {
            getJavaHomeDir(javaHomeDir);
            if (logJvmLocation(true, predefinedJvmInstallDir, configureRegistry))
                addSecurity(_stricmp(jvmName, PluginType) == 0);
        } else {
            // A JVM found already in place: the hand-over file still names it.
            getJavaHomeDir(javaHomeDir);
            logJvmLocation(false, predefinedJvmInstallDir, configureRegistry);
        }
    }
    return ok;
}

bool Install::runThirdPartyInstaller()
{
    auto runner = std::make_unique<RunJvmInstaller>();
    // A shown run lets msiexec show its progress and ask for elevation.
    runner->setQuietMode(isQuietMode());
    const bool ok = runner->run(jvmRequiredVersion, jvmMinVersion, jvmMaxVersion, jvmVersion,
                                jvmName, jvmCommandName, jvmInstallerBinary,
                                jvmInstallerCommand, jvmCommand, homeDirectory);
    noteUnhanded(runner->unhandedPath());
    msiexecLog.set(runner->msiexecLog().c_str());
    if (!ok) {
        errorMessage.set(runner->failureMessage().c_str());
        errorDetails.set(runner->failureDetails().c_str());
        installerSaidWhy = !runner->failureMessage().empty();
    }
    if (ok) {
        // A vendor-installed JVM never lives under the package directory.
        predefinedJvmInstallDir.clear();
        const bool configureRegistry = runner->configureWinReg();
        traceMessage(TraceFilename, "configWinReg in runThirdPartyInstaller", configureRegistry);
        // The hand-over file names the JVM the wizard starts on, as on the other roads.
        getJavaHomeDir(javaHomeDir);
        logJvmLocation(false, predefinedJvmInstallDir, configureRegistry);
    }
    return ok;
}

bool Install::addSecurity(bool isPlugin)
{
    auto security = std::make_unique<Security>();
    TextBuffer userLanguage(1000);
    security->setLanguage(getLanguage(userLanguage.data()));
    security->addSecurity(systemSecurityPolicyFilename, userSecurityPolicyFilename,
                          keystoreFilename, javaHomeDir, homeDirectory, isPlugin);
    return true;
}
