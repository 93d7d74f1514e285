// Expansion of a packaged JVM, location of its program and its configuration on the machine.
#include <windows.h>

#include <direct.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "exec/ExecCommand.h"
#include "exec/PathHandOn.h"
#include "jvm/discovery/JvmOk.h"
#include "jvm/discovery/VersionRules.h"
#include "jvm/provision/ExtractJvm.h"
#include "jvm/provision/JvmInstaller.h"
#include "util/AsciiCase.h"
#include "util/Registry.h"
#include "util/DiskSpace.h"
#include "util/clib.h"
#include "util/FileNames.h"
#include "util/LongPath.h"

using namespace file_names;

namespace {

constexpr const char* TempLogFname = "__temp.log";
constexpr const char* AppDirVariable = "[$AppDir]";
constexpr const char* BinDir = "bin";
constexpr const char* OldJreFilename = "jre";
constexpr const char* OldJrewFilename = "jrew";
constexpr const char* OldDefaultJreFilename = "jre.exe";
constexpr const char* OldDefaultJrewFilename = "jrew.exe";
constexpr const char* NewJrewFilename = "javaw";
constexpr const char* NewDefaultJreFilename = "java.exe";
constexpr const char* NewDefaultJrewFilename = "javaw.exe";
constexpr const char* JreEntry = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr const char* JdkEntry = "SOFTWARE\\JavaSoft\\Java Development Kit";
constexpr const char* JdkType = "JDK";


bool startsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Whether the registry names `family` as the current runtime. A missing key names none, not
// even an empty family.
bool isCurrentRuntime(const char* family)
{
    RegKey key;
    if (!key.open(HKEY_LOCAL_MACHINE, JreEntry, KEY_READ))
        return false;
    TextBuffer value(PathCapacity);
    // Only a plain REG_SZ names the current runtime; a value that does not fit names none.
    if (readRegText(key.get(), "CurrentVersion", value, value.capacity(), RegType::PlainText) !=
        RegRead::Whole)
        value.clear();
    return std::strcmp(value, family) == 0;
}

// Whether `inner` is `outer` or lies below it.
bool isSameOrBelow(const char* inner, const char* outer)
{
    const std::string in = lowerAscii(fullPathOf(inner).c_str());
    std::string out = lowerAscii(fullPathOf(outer).c_str());
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return !out.empty() && in.compare(0, out.size(), out) == 0 &&
           (in.size() == out.size() || in[out.size()] == '\\');
}

} // namespace

bool ExtractJvm::extractJvm(const char* required, const char* minimum, const char* maximum,
                            const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                            const char* jvmSelfExtractor, const char* predefinedJvmInstallDir,
                            const char* jvmHomeDir, char* jvmCommand, const char* homeDir)
{
    TextBuffer jvmDir(PathCapacity);
    bool result = installCompressedJvm(required, minimum, maximum, jvmVersion, jvmName,
                                       jvmCommandName, jvmSelfExtractor, predefinedJvmInstallDir,
                                       jvmHomeDir, jvmCommand, homeDir, jvmDir);
    if (result) {
        auto check = std::make_unique<JvmOk>();
        result = check->jvmHomeFits(required, minimum, maximum, "", jvmDir, jvmCommandName,
                                    jvmCommand);
        if (unhanded.empty())
            unhanded = check->unhandedPath();
        if (result && !jvmDiscovered)
            jvmInstalled = true;
    }
    if (result)
        changes.keep();
    else
        undoFailedJvm(jvmDir);
    traceMessage(TraceFilename, "extractJvm ok", result);
    return result;
}

bool ExtractJvm::installCompressedJvm(const char* required, const char* minimum,
                                      const char* maximum, const char* jvmVersion,
                                      const char* jvmName, char* jvmCommandName,
                                      const char* jvmSelfExtractor,
                                      const char* predefinedJvmInstallDir,
                                      const char* jvmHomeDir, char* jvmCommand,
                                      const char* homeDir, char* jvmDir)
{
    homeDirectory.set(homeDir);
    bool result = false;
    bool chosen = false;
    {
        auto selector = std::make_unique<JvmInstaller>();
        selector->setHomeDirectory(homeDirectory);
        chosen = selector->createJvmDirectory(required, minimum, maximum, jvmVersion, jvmName,
                                              jvmCommandName, predefinedJvmInstallDir, jvmDir,
                                              jvmCommand);
        jvmDiscovered = selector->isJvmDiscovered();
        traceMessage(TraceFilename, "found existing jvm directory", jvmDiscovered);
        // The outermost level this run made for the directory chosen holds only what it writes.
        for (const std::string& made : selector->madeDirectories()) {
            if (chosen && !jvmDiscovered && isSameOrBelow(jvmDir, made.c_str()))
                changes.jvmDirCreated(made);
        }
    }
    if (chosen && (jvmDiscovered || expand(jvmSelfExtractor, jvmDir))) {
        if (jvmHomeDir != nullptr && *jvmHomeDir != '\0') {
            if (startsWith(jvmHomeDir, "./"))
                appendText(jvmDir, PathCapacity, jvmHomeDir + 1);
            else
                copyText(jvmDir, PathCapacity, jvmHomeDir);
        }
        for (char* p = jvmDir; *p != '\0'; ++p) {
            if (*p == '/')
                *p = '\\';
        }
        traceMessage(TraceFilename, "final jvm install directory:", jvmDir);
        // A JVM kept in the package's own directory is neither registered nor copied.
        const bool registerJvm = std::strstr(predefinedJvmInstallDir, AppDirVariable) == nullptr;
        result = configureJvm(jvmVersion, jvmName, jvmCommandName, jvmDir, homeDir, registerJvm);
    }
    traceMessage(TraceFilename, "installCompressedJvm ok", result);
    return result;
}

bool ExtractJvm::expand(const char* jvmSelfExtractor, const char* jvmDir)
{
    traceMessage(TraceFilename, "installing jvm in", jvmDir);
    const std::string packageDir = currentDirectory();
    traceMessage(TraceFilename, "current directory", packageDir.c_str());
    const std::string traceLog = packageDir + DIR_END + TraceFilename;
    const std::string errorsLog = packageDir + DIR_END + ErrorsFilename;
    auto exec = std::make_unique<ExecCommand>();
    exec->setErrorsFilename(errorsLog.c_str());
    exec->setTraceFilename(traceLog.c_str());

    TextBuffer command(PathCapacity);
    bool ran = false;
    if (getJvmInstallerCommand(jvmSelfExtractor, command, packageDir.c_str())) {
        // The expanding program writes into its current directory: it runs only where the JVM
        // belongs, never in the package directory when the change fails.
        std::string workDir;
        PathHandOn handOn(traceLog.c_str());
        const bool handedOn = handOn.workDirForm(jvmDir, workDir);
        if (!handedOn && unhanded.empty())
            unhanded = handOn.failedPath();
        const bool moved = handedOn && _chdir(workDir.c_str()) == 0;
        traceMessage(traceLog.c_str(), "current directory changed to: ", currentDirectory().c_str());
        // No argument text at all: an empty one would end the command line in a blank.
        if (moved)
            ran = exec->execCommand(command, nullptr, 0);
        traceMessage(traceLog.c_str(), "installed jvm", ran);
        _chdir(packageDir.c_str());
        traceMessage(traceLog.c_str(), "current directory after changing dir to: ",
                     currentDirectory().c_str());
        traceMessage(traceLog.c_str(), ran ? "issued command to expand:" : "unable to expand",
                     command.c_str());
    } else {
        traceMessage(traceLog.c_str(), "installed jvm", false);
        _chdir(packageDir.c_str());
        traceMessage(traceLog.c_str(), "current directory after changing dir to: ",
                     currentDirectory().c_str());
        traceMessage(traceLog.c_str(), "unable to expand", command.c_str());
    }
    removeFile((packageDir + DIR_END + TempLogFname).c_str());
    return ran;
}

bool ExtractJvm::getJvmInstallerCommand(const char* filename, char* command, const char* dir)
{
    const char* slash = std::strrchr(filename, '/');
    const char* name = slash != nullptr ? slash + 1 : filename;
    formatText(command, PathCapacity, "%s%s%s", dir, DIR_END, name);
    // Self-expanding programs have always been started by a name without blanks.
    std::string program;
    PathHandOn handOn(TraceFilename);
    const bool handedOn = handOn.form(command, program, "", legacyCodePage(), true);
    if (!handedOn && unhanded.empty())
        unhanded = handOn.failedPath();
    copyText(command, PathCapacity, program.c_str());
    const bool exists = handedOn && fexists(command);
    traceMessage(TraceFilename,
                 exists ? "Compressed JVM file exists: " : "Compressed JVM does *not* exist: ",
                 command);
    return exists;
}

bool ExtractJvm::configureJvm(const char* jvmVersion, const char* jvmName, char* jvmCommandName,
                              const char* jvmDir, const char* homeDir, bool registerJvm)
{
    traceMessage(TraceFilename, "about to configure jvm", jvmVersion);
    if (homeDirectory.empty())
        homeDirectory.set(homeDir);
    const char* alternative =
        fexists(TempTraceFilename) ? NewDefaultJrewFilename : NewDefaultJreFilename;
    const bool oldName = startsWith(jvmCommandName, OldJreFilename);

    struct Candidate {
        const char* subdir;
        const char* program;
    };
    const Candidate candidates[] = {
        {nullptr, jvmCommandName},
        {nullptr, oldName ? alternative : nullptr},
        {BinDir, jvmCommandName},
        {BinDir, oldName ? alternative : nullptr},
    };
    std::string found;
    for (const Candidate& candidate : candidates) {
        if (candidate.program == nullptr)
            continue;
        const std::string path =
            candidate.subdir == nullptr
                ? std::string(jvmDir) + DIR_END + candidate.program
                : std::string(jvmDir) + DIR_END + candidate.subdir + DIR_END + candidate.program;
        if (fexists(path.c_str())) {
            found = candidate.program;
            break;
        }
        traceMessage(TraceFilename, "unable to find", path.c_str());
    }
    if (found.empty()) {
        logAndTraceMessage(ErrorsFilename, TraceFilename, "Unable to find JVM executable");
        logAndTraceMessage(ErrorsFilename, TraceFilename, "Unable to configure JVM in", jvmDir);
        traceMessage(TraceFilename, "basic jvm set up ok", false);
        return false;
    }
    if (registerJvm)
        configureWinJvm(jvmVersion, jvmName, found.c_str(), jvmDir);
    copyText(jvmCommandName, PathCapacity, found.c_str());
    traceMessage(TraceFilename, "basic jvm set up ok", true);
    return true;
}

bool ExtractJvm::configureWinJvm(const char* jvmVersion, const char* jvmName,
                                 const char* program, const char* jvmDir)
{
    if (!configureWinReg())
        traceMessage(TraceFilename, "Windows registry unchanged");
    else if (_configureWinJvm(jvmVersion, jvmName, program, jvmDir))
        traceMessage(TraceFilename, "Windows registry configured");
    else
        traceMessage(TraceFilename, "Warning: Windows registry for the JVM *not* configured");
    return true;
}

bool ExtractJvm::_configureWinJvm(const char* jvmVersion, const char* jvmName,
                                  const char* program, const char* jvmDir)
{
    char family[201] = "";
    char micro[201] = "";
    version_rules::parseVersion(jvmVersion, family, sizeof family, micro, sizeof micro);
    // The registered home: lower case, and the parent of the JVM directory only when that
    // directory itself is named "bin". A "bin" further up ("C:\tools\bin\jre") or one that only
    // begins a longer name ("C:\binaries\...") is part of the home and stays.
    TextBuffer home(PathCapacity);
    home.set(jvmDir);
    lowerAsciiInPlace(home.data());
    version_rules::cutAtBinComponent(home.data());
    if (_stricmp(jvmName, JdkType) == 0)
        return addJvmToRegistry(JdkEntry, "JavaHome", family, micro, home, program);
    return configureJre(family, micro, home, program);
}

bool ExtractJvm::configureJre(const char* family, const char* micro, const char* home,
                              const char* program)
{
    if (!addJvmToRegistry(JreEntry, "JavaHome", family, micro, home, program))
        return false;
    copyJreFilesToHome(family, home, program);
    if (!startsWith(family, "1.1"))
        configureJava2(family, micro, home, program);
    return true;
}

bool ExtractJvm::configureJava2(const char* family, const char* micro, const char* home,
                                const char* program)
{
    TextBuffer fullVersion(403);
    fullVersion.format("%s.%s", family, micro);
    return addJvmToRegistry(JreEntry, "JavaHome", fullVersion, micro, home, program);
}

bool ExtractJvm::copyJreFilesToHome(const char* family, const char* home, const char* program)
{
    // Only the runtime that the registry names as current gets its launchers copied.
    if (!isCurrentRuntime(family))
        return true;
    std::string base = program;
    const size_t exe = base.find(".exe");
    if (exe != std::string::npos)
        base.erase(exe);
    const char* companion =
        startsWith(family, "1.1")
            ? (base == OldJrewFilename ? OldDefaultJreFilename : OldDefaultJrewFilename)
            : (base == NewJrewFilename ? NewDefaultJreFilename : NewDefaultJrewFilename);
    const std::string bin = std::string(home) + DIR_END + BinDir + DIR_END;
    const std::string windows = std::string(homeDirectory.c_str()) + DIR_END;
    copyJvmFile((bin + program).c_str(), (windows + program).c_str());
    copyJvmFile((bin + companion).c_str(), (windows + companion).c_str());
    copyJvmFile((bin + "msvcrt.dll").c_str(),
                (windows + "system" + DIR_END + "msvcrt.dll").c_str());
    return true;
}

bool ExtractJvm::copyJvmFile(const char* source, const char* destination)
{
    if (!fexists(source)) {
        traceMessage(TraceFilename, "unable to copy file from", source);
        traceMessage(TraceFilename, "                      to", destination);
        return false;
    }
    if (fexists(destination))
        return true;
    if (!copyFile(source, destination)) {
        const std::string full = diskFullReason(destination);
        if (!full.empty())
            logAndTraceMessage(ErrorsFilename, TraceFilename, full.c_str());
        return false;
    }
    changes.fileCreated(destination);
    return true;
}

void ExtractJvm::undoFailedJvm(const char* jvmDir)
{
    if (jvmDir != nullptr && *jvmDir != '\0') {
        const char* temp = std::getenv("TEMP");
        logMessage(ErrorsFilename,
                   freeSpaceLine({jvmDir, temp != nullptr ? temp : ""}).c_str());
    }
    const bool registered = changes.registered();
    const bool undone = changes.takeBack(true);
    if (registered)
        traceMessage(TraceFilename, "registration of the failed jvm taken back", undone);
}
