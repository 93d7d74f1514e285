// Starts the Java install wizard on the settled JVM and judges whether it started.
#include "install/Install.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "exec/CommandRules.h"
#include "exec/ExecCommand.h"
#include "exec/PathHandOn.h"
#include "install/InstallTexts.h"
#include "install/WizardArgs.h"
#include "util/clib.h"

using namespace install_names;

namespace {
constexpr const char* WizardStartedFilename = "__qrvwizard.sem";
constexpr const char* InstallJar = "install.jar";
constexpr const char* QuietSwitch = "-q";
constexpr const char* PropertiesSwitch = "-s";
constexpr size_t ReasonSize = 500;
} // namespace

void Install::addClassElement(char* classpath, size_t size, const char* element)
{
    std::string text(classpath);
    appendClassElement(text, element, text.empty());
    copyText(classpath, size, text.c_str());
}

bool Install::runJavaInstaller(char* installDetails)
{
    // The quoted class path is not what the wizard gets: the argument list carries
    // loaderClasspath unchanged and every argument with a blank is quoted when it is started.
    TextBuffer classpath(PathCapacity);
    const char* start = loaderClasspath;
    for (;;) {
        const char* semicolon = std::strchr(start, ';');
        const std::string element =
            semicolon != nullptr ? std::string(start, semicolon) : std::string(start);
        addClassElement(classpath, classpath.capacity(), element.c_str());
        if (semicolon == nullptr)
            break;
        start = semicolon + 1;
    }
    return runInstaller(installDetails);
}

int Install::countParameters(char* installDetails)
{
    WizardSettings settings;
    settings.loaderJavaCommand = loaderJavaCommand;
    settings.jvmExtraParameters = jvmExtraParameters;
    settings.quietInstall = quietInstall;
    settings.propertiesInstall = propertiesInstall;
    settings.installDetails = installDetails;
    const int count = wizardParameterCount(settings);
    traceMessage(TraceFilename, "parameters", count);
    return count;
}

namespace {

// The class path with each element in the form the JVM can read; elements are relative to the
// package directory, where the wizard runs.
std::string handedClasspath(PathHandOn& handOn, const char* classpath, bool& ok)
{
    const std::string workDir = currentDirectory();
    std::string result;
    const char* start = classpath;
    for (;;) {
        const char* semicolon = std::strchr(start, ';');
        const std::string element =
            semicolon != nullptr ? std::string(start, semicolon) : std::string(start);
        std::string handed;
        ok = handOn.form(element.c_str(), handed, workDir.c_str()) && ok;
        result += handed;
        if (semicolon == nullptr)
            return result;
        result += ';';
        start = semicolon + 1;
    }
}

} // namespace

bool Install::runInstaller(char* installDetails)
{
    PathHandOn handOn(TraceFilename);
    std::string program;
    bool handedOn = handOn.form(jvmCommand, program);
    const std::string classpath = handedClasspath(handOn, loaderClasspath, handedOn);
    if (!handedOn) {
        noteUnhanded(handOn.failedPath());
        return false;
    }
    WizardSettings settings;
    settings.jvmCommand = program.c_str();
    settings.jvmExtraParameters = jvmExtraParameters;
    settings.jvmClasspathSwitch = jvmClasspathSwitch;
    settings.loaderClasspath = classpath.c_str();
    settings.loaderJavaCommand = loaderJavaCommand;
    settings.quietInstall = quietInstall;
    settings.propertiesInstall = propertiesInstall;
    settings.installDetails = installDetails != nullptr ? installDetails : "";
    // The folder the user typed may not exist yet: it has no short name to take.
    if (passesInstallDetails(settings))
        handOn.warnUnlessFits("install details", settings.installDetails);

    const int slots = countParameters(installDetails);
    // Built from copies: the control-file values stay whole for a second launch.
    std::vector<std::string> args = wizardStartArguments(settings);
    if (static_cast<int>(args.size()) > slots)
        return false;  // cannot happen by the counting rule; never start a half-built list

    traceMessage(TraceFilename, "first arg:", args[0].c_str());
    if (!jvmExtraParameters.empty())
        traceMessage(TraceFilename, "install switches:", jvmExtraParameters);
    traceMessage(TraceFilename, "class path switch:", jvmClasspathSwitch);
    traceMessage(TraceFilename, "classpath:", loaderClasspath);
    traceMessage(TraceFilename, "install parameters:", loaderJavaCommand);
    if (passesInstallDetails(settings)) {
        traceMessage(TraceFilename, "install details:", settings.installDetails);
        traceMessage(TraceFilename, "added", quietInstall ? QuietSwitch : PropertiesSwitch);
        // The argument the wizard receives, which is not always the quoted form.
        traceMessage(TraceFilename, "details:", arrivingText(args.back()).c_str());
    }

    std::vector<char*> vector;
    for (std::string& arg : args)
        vector.push_back(&arg[0]);
    vector.push_back(nullptr);

    if (std::strstr(loaderClasspath, InstallJar) != nullptr && !fexists(InstallJar)) {
        logAndTraceMessage(ErrorsFilename, TraceFilename, "install.jar does not exist.");
        return false;
    }
    return _runInstaller(program.c_str(), vector.data());
}

bool Install::_runInstaller(const char* program, char** arguments)
{
    TextBuffer command(jvmCommand.capacity());
    command.set(program);
    traceMessage(TraceFilename, "launching java installer");

    // The JVM is to see only the class path of its arguments; the change stays for the run.
    _putenv("CLASSPATH=");

    auto exec = std::make_unique<ExecCommand>();
    char reason[ReasonSize] = "";

    // The entry point takes the status dialog down once this file is gone.
    if (!showDialogFilename.empty())
        removeFile(showDialogFilename);
    // The wizard's first window is to come to the front, not behind the others.
    AllowSetForegroundWindow(ASFW_ANY);

    if (!exec->spawnAndWait(command, arguments, reason, sizeof reason)) {
        std::unique_ptr<char[]> joined = exec->argsString(arguments);
        TextBuffer text(std::strlen(command) + std::strlen(joined.get()) + 2);
        text.format("%s %s", command.c_str(), joined.get());
        logAndTraceMessage(ErrorsFilename, TraceFilename, "Unable to start ", text);
        // The reason and the fixed words before it.
        TextBuffer failure(ReasonSize + 100);
        failure.format("Error running JVM installer: %s", reason);
        logAndTraceMessage(ErrorsFilename, TraceFilename, failure, false);
        return false;
    }

    traceMessage(TraceFilename, "java wizard spawned without reported errors");
    if (!fexists(WizardStartedFilename)) {
        logAndTraceMessage(ErrorsFilename, TraceFilename, "Java wizard not started properly");
        return false;
    }
    removeFile(WizardStartedFilename);
    traceMessage(TraceFilename, "Java wizard launched successfully");
    // The run ends as the wizard ended: a deployment tool reads only this.
    exitCode = static_cast<int>(exec->lastExitCode());
    return true;
}
