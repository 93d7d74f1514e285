#include "jvm/provision/RunJvmInstaller.h"

#include <direct.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "config/GetParameters.h"
#include "exec/CommandRules.h"
#include "exec/ExecCommand.h"
#include "exec/PathHandOn.h"
#include "jvm/discovery/FindJvm.h"
#include "jvm/discovery/JvmOk.h"
#include "jvm/provision/InstallerExit.h"
#include "jvm/provision/JvmInstaller.h"
#include "util/clib.h"
#include "util/FileNames.h"
#include "util/SystemDll.h"

using namespace file_names;

namespace {
constexpr unsigned ReasonSize = 500;
// Another installation in progress: three more starts, after 10, 20 and 40 seconds.
constexpr int BusyRetries = 3;
constexpr unsigned long FirstBusyWaitSeconds = 10;
unsigned long busyWaitSecondMs = 1000;

std::string joinPath(const char* dir, const char* name)
{
    return std::string(dir) + DIR_END + name;
}

// The TEMP folder without its final backslash; empty when the system tells none that the
// program's own encoding holds.
std::string tempFolder()
{
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    std::string text;
    if (length == 0 || length > MAX_PATH || !encodeExactly(folder, GetACP(), text))
        return {};
    while (text.size() > 2 && text.back() == '\\')
        text.pop_back();
    return text;
}

// msiexec's log of the package `installer`, named after it: beside errors.log (the current
// directory is still the package directory), else in TEMP. `full` receives where it lies,
// `handed` the form msiexec can open (its short name where the full one is too long); both
// empty when no folder has such a form.
void msiexecLogPath(const std::string& installer, std::string& full, std::string& handed)
{
    const std::string name = fileNamePart(installer.c_str()) + ".log";
    full.clear();
    handed.clear();
    if (name.size() + 1 >= PathHandOn::PathLimit)
        return;
    PathHandOn handOn(TraceFilename);
    for (const std::string& folder : {currentDirectory(), tempFolder()}) {
        std::string form;
        if (!folder.empty() &&
            handOn.form(folder.c_str(), form, "", legacyCodePage(), false,
                        PathHandOn::PathLimit - name.size() - 1)) {
            full = joinPath(folder.c_str(), name.c_str());
            handed = joinPath(form.c_str(), name.c_str());
            return;
        }
    }
}
} // namespace

RunJvmInstaller::RunJvmInstaller() = default;

void RunJvmInstaller::setBusyWaitSecondMs(unsigned long ms)
{
    busyWaitSecondMs = ms;
}

bool RunJvmInstaller::run(const char* required, const char* minimum, const char* maximum,
                          const char* jvmVersion, const char* jvmName, char* jvmCommand,
                          const char* installerFile, char* installerCommand, char* jvmPath,
                          const char* homeDir)
{
    homeDirectory.set(homeDir);
    TextBuffer jvmDir(PathCapacity);
    bool created = false;
    {
        auto selector = std::make_unique<JvmInstaller>();
        selector->setHomeDirectory(homeDirectory);
        char noPredefinedDir[] = "";
        created = selector->createJvmDirectory(required, minimum, maximum, jvmVersion, jvmName,
                                               jvmCommand, noPredefinedDir, jvmDir, jvmPath);
        traceMessage(TraceFilename, "jvmDirName: ", jvmDir.c_str());
        discovered = selector->isJvmDiscovered();
        traceMessage(TraceFilename, "found existing jvm directory", discovered);
    }
    if (!created)
        return false;

    bool result = false;
    if (discovered) {
        auto check = std::make_unique<JvmOk>();
        result = check->jvmHomeFits(required, minimum, maximum, "", jvmDir, jvmCommand, jvmPath);
        if (!result)
            discovered = false;
    }
    if (!result)
        result = installJvm(jvmVersion, jvmName, jvmCommand, installerFile, installerCommand,
                            jvmDir, jvmPath);
    traceMessage(TraceFilename, "jvmFullname:", jvmPath);
    traceMessage(TraceFilename, "runJvmInstaller ok", result);
    return result;
}

bool RunJvmInstaller::installJvm(const char* jvmVersion, const char* jvmName, char* jvmCommand,
                                 const char* installerFile, char* installerCommand,
                                 const char* jvmDir, char* jvmPath)
{
    bool result = false;
    installerFile_ = installerFile;
    if (copyInstaller(installerFile, jvmDir)) {
        const bool ran = runInstaller(installerCommand, jvmDir);
        removeInstaller(installerFile, jvmDir);
        if (ran)
            result = judgeInstallerRun(jvmVersion, jvmName, jvmCommand, jvmDir, jvmPath);
    }
    removeEmptyDir(jvmDir);
    return result;
}

bool RunJvmInstaller::judgeInstallerRun(const char* jvmVersion, const char* jvmName,
                                        char* jvmCommand, const char* jvmDir, char* jvmPath)
{
    const InstallerVerdict verdict = judgeInstallerExit(exitCode_);
    if (verdict.end == InstallerEnd::Cancelled) {
        // The user said no: nothing is looked for behind their back.
        failureMessage_ = "The Java installation was cancelled.";
        failureDetails_ = "Starting this installer again retries it.";
        return false;
    }
    // The JVM is usable at once; the launcher never restarts the machine itself.
    if (verdict.end == InstallerEnd::RestartWanted)
        logAndTraceMessage(ErrorsFilename, TraceFilename,
                           restartWantedText(installerFile_, exitCode_).c_str());
    // After the vendor's run only the packaged JVM's version counts. An installer that failed
    // may still have installed what is needed.
    const bool found = jvmInNewDir(jvmVersion, "", "", jvmDir, jvmCommand, jvmPath) ||
                       findInstalledJvm(jvmVersion, "", "", jvmName, jvmCommand, jvmPath);
    if (!found && (verdict.end == InstallerEnd::Failed || verdict.end == InstallerEnd::Busy)) {
        failureMessage_ = std::string("Unable to install ") + jvmName + " " + jvmVersion + ". " +
                          installerFailureText(installerFile_, exitCode_, msiexecLog_);
    }
    return found;
}

bool RunJvmInstaller::copyInstaller(const char* installerFile, const char* jvmDir)
{
    const std::string from = joinPath(currentDirectory().c_str(), installerFile);
    const std::string to = joinPath(jvmDir, installerFile);
    traceMessage(TraceFilename, "copied installer from: ", from.c_str());
    traceMessage(TraceFilename, "                   to: ", to.c_str());
    const bool ok = copyFile(from.c_str(), to.c_str());
    traceMessage(TraceFilename, "copy ok", ok);
    return ok;
}

bool RunJvmInstaller::runInstaller(char* installerCommand, const char* jvmDir)
{
    std::string command = installerCommand != nullptr ? installerCommand : "";
    const bool written = !command.empty();
    // A Windows Installer package says itself what runs it.
    if (!written && isWindowsInstallerPackage(installerFile_)) {
        // msiexec runs in the JVM directory, where the copy lies: its bare name is enough, at
        // any depth of that directory.
        std::string handedLog;
        msiexecLogPath(installerFile_, msiexecLog_, handedLog);
        command = defaultMsiexecCommand(fileNamePart(installerFile_.c_str()), handedLog,
                                        isQuietMode());
    }
    if (command.empty()) {
        traceMessage(TraceFilename, "no jvm installer command line");
        return false;
    }
    InstallerCommand split = splitInstallerCommand(command);
    if (written && split.program.size() < command.size())
        copyText(installerCommand, command.size() + 1, split.remainder.c_str());
    std::string program = split.program;
    settleMsiexec(split, program);

    std::vector<const char*> argv;
    for (const std::string& arg : split.args) {
        traceMessage(TraceFilename, "arg:", arg.c_str());
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    traceMessage(TraceFilename, "# of args", split.count);
    traceMessage(TraceFilename, "command:", program.c_str());

    const std::string line = installerCommandLine(split);
    bool ok = executeInstaller(program.c_str(), argv.data(), jvmDir, line.c_str());
    unsigned long wait = FirstBusyWaitSeconds;
    for (int retry = 0; ok && retry < BusyRetries &&
                        judgeInstallerExit(exitCode_).end == InstallerEnd::Busy;
         ++retry, wait *= 2) {
        traceMessage(TraceFilename, "another installation is in progress, seconds until the jvm "
                                    "installer starts again", static_cast<int>(wait));
        Sleep(wait * busyWaitSecondMs);
        ok = executeInstaller(program.c_str(), argv.data(), jvmDir, line.c_str());
    }

    // Nothing is freed here (the vectors own their texts); the lines are kept because existing
    // packages' log readers expect them.
    traceMessage(TraceFilename, "freeing all args");
    for (int i = split.count - 1; i >= 0; --i)
        traceMessage(TraceFilename, "freeing arg", i);
    traceMessage(TraceFilename, "freeing args");
    traceMessage(TraceFilename, "freed args");
    traceMessage(TraceFilename, "freeing filename");
    traceMessage(TraceFilename, "freed filename");
    return ok;
}

void RunJvmInstaller::settleMsiexec(InstallerCommand& command, std::string& program)
{
    if (!namesSystemMsiexec(program))
        return;
    program = systemFilePath("msiexec.exe");
    // msiexec's own log is the one place that says why a package failed: it lies beside
    // errors.log (or in TEMP), unless the package author asked for one of their own.
    if (!asksForLog(command)) {
        std::string handedLog;
        msiexecLogPath(installerFile_, msiexecLog_, handedLog);
        if (!handedLog.empty())
            addMsiexecLog(command, handedLog);
    }
}

bool RunJvmInstaller::executeInstaller(const char* program, const char* const* argv,
                                       const char* jvmDir, const char* commandLine)
{
    const std::string saved = currentDirectory();
    const std::string errors = joinPath(saved.c_str(), ErrorsFilename);
    const std::string trace = joinPath(saved.c_str(), TraceFilename);
    auto exec = std::make_unique<ExecCommand>();
    exec->setErrorsFilename(errors.c_str());
    exec->setTraceFilename(trace.c_str());
    traceMessage(TraceFilename, "jvm installer command:", program);

    char reason[ReasonSize] = "";
    bool started = false;
    // The installer writes into its current directory: it runs only where the JVM belongs,
    // never in the package directory when the change fails. It reads that directory, and the
    // package author's arguments, through the system's code page.
    PathHandOn handOn(trace.c_str());
    handOn.warnUnlessFits("installer arguments", commandLine);
    std::string workDir;
    const bool handedOn = handOn.workDirForm(jvmDir, workDir);
    if (!handedOn && unhanded.empty())
        unhanded = handOn.failedPath();
    if (handedOn && _chdir(workDir.c_str()) == 0) {
        // Traced by its full name: the package directory is no longer the current one.
        traceMessage(trace.c_str(), "current directory changed to: ", currentDirectory().c_str());
        started = exec->spawnAndWait(program, argv, reason, sizeof reason, commandLine);
    } else {
        traceMessage(TraceFilename, "unable to change the current directory to:", jvmDir);
        traceMessage(TraceFilename, "installed jvm", false);
        formatText(reason, sizeof reason, "unable to change to the JVM directory %s", jvmDir);
    }
    // Back to the package directory on every road before anything else is written.
    _chdir(saved.c_str());

    if (started) {
        exitCode_ = exec->lastExitCode();
        traceMessage(TraceFilename, "jvm installer exit code:", std::to_string(exitCode_).c_str());
        traceMessage(TraceFilename, "third party jvm installer ran with no reported errors");
        return true;
    }
    TextBuffer message(ReasonSize + 64);
    message.format("Error running JVM installer: %s", reason);
    logAndTraceMessage(ErrorsFilename, TraceFilename, message, false);
    const std::unique_ptr<char[]> args = exec->argsString(argv);
    const char* joined = args ? args.get() : "";
    TextBuffer text(std::strlen(program) + std::strlen(joined) + 2);
    text.format("%s %s", program, joined);
    logAndTraceMessage(ErrorsFilename, TraceFilename, "Unable to start ", text.c_str());
    return false;
}

const char* RunJvmInstaller::getStartNextArg(const char* separator)
{
    return separator == nullptr ? nullptr : separator + std::strlen(ArgSeparator);
}

void RunJvmInstaller::removeInstaller(const char* installerFile, const char* jvmDir)
{
    removeFile(joinPath(jvmDir, installerFile).c_str());
    traceMessage(TraceFilename, "jvm installer removed");
}

bool RunJvmInstaller::jvmInNewDir(const char* required, const char* minimum,
                                  const char* maximum, const char* jvmDir, char* jvmCommand,
                                  char* jvmPath)
{
    std::vector<std::string> names;
    size_t unlisted = 0;
    if (!listDir(jvmDir, names, "*", &unlisted))
        return false;
    if (unlisted > 0)
        traceMessage(TraceFilename, "folders passed over, their names not in the code page:",
                     static_cast<int>(unlisted));
    for (const std::string& name : names) {
        const std::string candidate = joinPath(jvmDir, name.c_str());
        traceMessage(TraceFilename, "looking for jvm in:", candidate.c_str());
        // Judged as every other home, by the version asked for; a candidate whose name cannot
        // be handed on is only turned down for it: another may still fit.
        auto check = std::make_unique<JvmOk>();
        if (check->jvmHomeFits(required, minimum, maximum, "", candidate.c_str(), jvmCommand,
                               jvmPath))
            return true;
    }
    return false;
}

bool RunJvmInstaller::findInstalledJvm(const char* required, const char* minimum,
                                       const char* maximum, const char* jvmName,
                                       char* jvmCommand, char* jvmPath)
{
    auto search = std::make_unique<FindJvm>();
    const bool found =
        search->isJvmInstalled(required, minimum, maximum, jvmName, jvmCommand, jvmPath);
    if (found)
        traceMessage(TraceFilename, "Found correct version of JVM:", jvmPath);
    else
        traceMessage(TraceFilename, "Correct version of JVM was not found in common locations");
    return found;
}

void RunJvmInstaller::removeEmptyDir(const char* dir)
{
    std::vector<std::wstring> names;
    if (!listDir(dir, names) || !names.empty())
        return;
    // Traced once the removal is tried, also when the directory could not go.
    removeDir(dir);
    traceMessage(TraceFilename, "removed:", dir);
}

bool RunJvmInstaller::configureWinReg()
{
    return readConfigureWinRegistry(*this, "configWinReg in runjvminstaller");
}
