#include "jvm/discovery/JvmSources.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "jvm/discovery/JvmOk.h"
#include "jvm/discovery/JvmSourceRules.h"
#include "jvm/discovery/VersionRules.h"
#include "util/AsciiCase.h"
#include "util/File.h"
#include "util/FileNames.h"
#include "util/Registry.h"
#include "util/clib.h"

using namespace file_names;
using namespace source_rules;

struct JvmSources::RegistrySource {
    const char* key;
    // The value that holds the home, in the version key or `depth` levels below it (Temurin and
    // its kin: <version>\hotspot\MSI).
    const char* homeValue;
    int depth;
    // The key name is the version (Oracle's layout); otherwise the home's release file says it,
    // or the key name stands for it.
    bool nameIsVersion;
    // Runtimes and kits share the key: runtimes are tried first.
    bool runtimesFirst;
};

namespace {

using Source = JvmSources::RegistrySource;

// Java 9 and later, runtimes before kits as for the older product keys.
const Source JavaSoftSources[] = {
    {"SOFTWARE\\JavaSoft\\JRE", "JavaHome", 0, true, false},
    {"SOFTWARE\\JavaSoft\\JDK", "JavaHome", 0, true, false},
};

// The distributions' own keys. Temurin's version keys also hold a DWORD "JavaHome" (a flag, not
// a path): its home is read from "Path" only. Layouts not confirmed by the distributions' own
// sources (Microsoft's EXE installs, Liberica 11 and later) are covered by walking every
// subkey rather than naming it.
const Source DistributionSources[] = {
    {"SOFTWARE\\Eclipse Adoptium\\JRE", "Path", 2, false, false},
    {"SOFTWARE\\Eclipse Adoptium\\JDK", "Path", 2, false, false},
    {"SOFTWARE\\AdoptOpenJDK\\JRE", "Path", 2, false, false},
    {"SOFTWARE\\AdoptOpenJDK\\JDK", "Path", 2, false, false},
    {"SOFTWARE\\Eclipse Foundation\\JRE", "Path", 2, false, false},
    {"SOFTWARE\\Eclipse Foundation\\JDK", "Path", 2, false, false},
    {"SOFTWARE\\Semeru\\JRE", "Path", 2, false, false},
    {"SOFTWARE\\Semeru\\JDK", "Path", 2, false, false},
    {"SOFTWARE\\Microsoft\\JDK", "Path", 2, false, false},
    {"SOFTWARE\\Azul Systems\\Zulu", "InstallationPath", 0, false, true},
    {"SOFTWARE\\Azul Systems\\Zulu 32-bit", "InstallationPath", 0, false, true},
    {"SOFTWARE\\BellSoft\\Liberica", "InstallationPath", 0, false, true},
    {"SOFTWARE\\SapMachine\\JRE", "JavaHome", 0, false, false},
    {"SOFTWARE\\SapMachine\\JDK", "JavaHome", 0, false, false},
};

// The home values at `depth` levels below an open version key, in the registry's order.
void collectHomes(HKEY key, REGSAM view, const char* valueName, int depth,
                  std::vector<std::string>& homes)
{
    if (depth == 0) {
        TextBuffer home(PathCapacity);
        if (readRegText(key, valueName, home, PathCapacity) == RegRead::Whole && !home.empty())
            homes.emplace_back(home.c_str());
        return;
    }
    for (const std::string& name : regSubkeyNames(key)) {
        RegKey sub;
        if (sub.open(key, name.c_str(), KEY_READ | view))
            collectHomes(sub.get(), view, valueName, depth - 1, homes);
    }
}

} // namespace

JvmSources::JvmSources()
{
    traceFilename.set(TraceFilename);
}

void JvmSources::start(const char* required, const char* minimum, const char* maximum,
                       char* jvmCommand, char* jvmPath)
{
    required_ = required;
    minimum_ = minimum;
    maximum_ = maximum;
    jvmCommand_ = jvmCommand;
    jvmPath_ = jvmPath;
    savedCommand.set(jvmCommand);
}

bool JvmSources::tryBundled(const char* home, const char* required, const char* minimum,
                            const char* maximum, char* jvmCommand, char* jvmPath)
{
    start(required, minimum, maximum, jvmCommand, jvmPath);
    traceMessage(traceFilename, "trying the package's own jvm", home);
    const bool found = tryHome(home, "", "");
    traceMessage(traceFilename, "package's own jvm had correct jvm info", found);
    if (!found)
        copyText(jvmCommand, PathCapacity, savedCommand);
    return found;
}

bool JvmSources::searchForJvm(const char* required, const char* minimum, const char* maximum,
                              char* jvmCommand, char* jvmPath)
{
    start(required, minimum, maximum, jvmCommand, jvmPath);
    traceMessage(traceFilename, "searching other jvm locations");

    bool found = false;
    for (const Source& source : JavaSoftSources)
        found = found || searchRegistry(HKEY_LOCAL_MACHINE, source);
    for (const Source& source : DistributionSources)
        found = found || searchRegistry(HKEY_LOCAL_MACHINE, source);
    for (const Source& source : DistributionSources)
        found = found || searchRegistry(HKEY_CURRENT_USER, source);
    found = found || searchEnvironment("JAVA_HOME") || searchEnvironment("JDK_HOME") ||
            searchPath();
    if (!found)
        copyText(jvmCommand, PathCapacity, savedCommand);
    return found;
}

bool JvmSources::searchRegistry(HKEY root, const Source& source)
{
    const bool user = root == HKEY_CURRENT_USER;
    const std::string traceName = std::string(user ? "HKEY_CURRENT_USER\\" : "") + source.key;
    RegKey own;
    bool opened = own.open(root, source.key, KEY_READ);
    bool found = opened && searchKey(0, own.get(), source, traceName);
    // A 64-bit machine keeps the JVMs of the other word size in its other view; per-user keys
    // are shared by both.
    const REGSAM other = user ? 0 : otherRegistryView();
    if (!found && other != 0) {
        RegKey second;
        if (second.open(root, source.key, KEY_READ | other) &&
            !(opened && sameRegKey(own.get(), second.get()))) {
            opened = true;
            found = searchKey(other, second.get(), source, traceName);
        }
    }
    if (opened)
        traceMessage(traceFilename, (traceName + " registry entry had correct jvm info").c_str(),
                     found);
    return found;
}

bool JvmSources::searchKey(REGSAM view, HKEY productKey, const Source& source,
                           const std::string& traceName)
{
    traceMessage(traceFilename, "searching registry entry", traceName.c_str());
    std::vector<std::string> names = regSubkeyNames(productKey);
    orderForTrial(names, source.runtimesFirst);
    for (const std::string& name : names) {
        traceMessage(traceFilename, "                 version", name.c_str());
        RegKey versionKey;
        if (!versionKey.open(productKey, name.c_str(), KEY_READ | view)) {
            traceMessage(traceFilename, "no such registry entry",
                         (traceName + DIR_END + name).c_str());
            continue;
        }
        std::vector<std::string> homes;
        collectHomes(versionKey.get(), view, source.homeValue, source.depth, homes);
        versionKey.close();
        if (homes.empty()) {
            traceMessage(traceFilename, "no home directory for jvm");
            continue;
        }
        const std::string version = source.nameIsVersion ? name : std::string();
        const std::string fallback =
            source.nameIsVersion ? std::string() : versionOfKeyName(name.c_str());
        for (const std::string& home : homes) {
            if (tryHome(home, version, fallback))
                return true;
        }
    }
    return false;
}

bool JvmSources::searchEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return false;
    traceMessage(traceFilename, "searching environment variable", name);
    const bool found = tryHome(value, "", "");
    traceMessage(traceFilename, (std::string(name) + " had correct jvm info").c_str(), found);
    return found;
}

bool JvmSources::searchPath()
{
    const char* value = getPathPtr();
    if (value == nullptr || *value == '\0')
        return false;
    traceMessage(traceFilename, "searching PATH");
    char windowsDir[MAX_PATH + 1];
    const UINT length = GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    if (length == 0 || length >= sizeof windowsDir)
        windowsDir[0] = '\0';
    bool found = false;
    TextBuffer home(PathCapacity);
    for (const std::string& dir : searchPathDirs(value)) {
        if (isSkippedPathDir(dir.c_str(), windowsDir)) {
            traceMessage(traceFilename, "skipping PATH entry", dir.c_str());
            continue;
        }
        if (!holdsJvmProgram(dir))
            continue;
        // A JVM's programs lie in its home's "bin".
        home.set(dir.c_str());
        version_rules::cutAtBinComponent(home);
        if (tryHome(home.c_str(), "", "")) {
            found = true;
            break;
        }
    }
    traceMessage(traceFilename, "PATH had correct jvm info", found);
    return found;
}

bool JvmSources::holdsJvmProgram(const std::string& dir)
{
    TextBuffer program(PathCapacity);
    program.set(savedCommand);
    if (fexists((dir + DIR_END + program.c_str()).c_str()))
        return true;
    return version_rules::javaFormOfName(program, PathCapacity, fexists(traceFilename)) &&
           fexists((dir + DIR_END + program.c_str()).c_str());
}

bool JvmSources::tryHome(const std::string& rawHome, const std::string& version,
                         const std::string& fallbackVersion)
{
    const std::string home = cleanHome(rawHome.c_str());
    if (home.empty()) {
        traceMessage(traceFilename, "no home directory for jvm");
        return false;
    }
    if (!search().firstTry(home)) {
        traceMessage(traceFilename, "jvm home already tested:", home.c_str());
        return false;
    }
    // A key left behind by an uninstall names a home that is gone.
    if (!isDir(home.c_str())) {
        traceMessage(traceFilename, "no such jvm home:", home.c_str());
        search().reject(home, "", "no JVM program");
        return false;
    }
    traceMessage(traceFilename, "testing jvm in:", home.c_str());
    std::string checked = version;
    if (checked.empty())
        checked = JvmOk::releaseVersion(home.c_str());
    if (checked.empty())
        checked = fallbackVersion;

    copyText(jvmCommand_, PathCapacity, savedCommand);
    auto check = std::make_unique<JvmOk>();
    check->setTraceFilename(traceFilename);
    const bool ok = check->jvmHomeFits(required_, minimum_, maximum_, checked.c_str(),
                                       home.c_str(), jvmCommand_, jvmPath_);
    traceMessage(traceFilename, "found jvm", ok);
    return ok;
}
