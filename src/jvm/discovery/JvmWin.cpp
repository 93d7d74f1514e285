#include "jvm/discovery/JvmWin.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>

#include "jvm/discovery/JvmOk.h"
#include "jvm/discovery/JvmSearch.h"
#include "jvm/discovery/JvmSources.h"
#include "jvm/discovery/VersionRules.h"
#include "util/FileNames.h"
#include "util/Registry.h"
#include "util/Capacity.h"

using namespace file_names;

namespace {

constexpr const char* JreEntry = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr const char* JdkEntry = "SOFTWARE\\JavaSoft\\Java Development Kit";
constexpr const char* PluginEntry = "SOFTWARE\\JavaSoft\\Java Plug-in";
constexpr const char* PluginType = "Java Plug-in";

// A string value of a version key (PathCapacity bytes); false, with `out` empty, when it is
// missing or does not fit.
bool readString(HKEY key, const char* name, char* out)
{
    if (readRegText(key, name, out, PathCapacity) == RegRead::Whole)
        return true;
    out[0] = '\0';
    return false;
}

} // namespace

int compareStrings(const void* first, const void* second)
{
    return std::strcmp(*static_cast<const char* const*>(first),
                       *static_cast<const char* const*>(second));
}

JvmWin::JvmWin()
{
    traceFilename.set(TraceFilename);
}

bool JvmWin::searchWindowsForJvm(const char* required, const char* minimum, const char* maximum,
                                 const char* jvmName, char* jvmCommand, char* jvmPath)
{
    TextBuffer saved(PathCapacity);
    saved.set(jvmCommand);
    JvmSearch ownSearch;
    const JvmSearch::Scope scope(ownSearch);
    bool found = false;
    if (strcasecmp(jvmName, PluginType) != 0) {
        copyText(jvmCommand, PathCapacity, saved);
        found = searchRegistryForJvm(JreEntry, required, minimum, maximum, jvmCommand, jvmPath);
        traceMessage(traceFilename, "JRE registry entry had correct jvm info", found);
        if (!found) {
            copyText(jvmCommand, PathCapacity, saved);
            found =
                searchRegistryForJvm(JdkEntry, required, minimum, maximum, jvmCommand, jvmPath);
            traceMessage(traceFilename, "JDK registry entry had correct jvm info", found);
        }
    }
    if (!found) {
        copyText(jvmCommand, PathCapacity, saved);
        found = searchRegistryForJvm(PluginEntry, required, minimum, maximum, jvmCommand, jvmPath);
        traceMessage(traceFilename, "Java Plugin registry entry had correct jvm info", found);
    }
    // Java 9 and later, the distributions' own keys, the environment and PATH: only when the
    // older product keys had nothing, so that a machine they served is served as before. A
    // search for the plug-in stays with the plug-in key.
    if (!found && strcasecmp(jvmName, PluginType) != 0) {
        copyText(jvmCommand, PathCapacity, saved);
        JvmSources sources;
        sources.setTraceFilename(traceFilename);
        found = sources.searchForJvm(required, minimum, maximum, jvmCommand, jvmPath);
    }
    if (found) {
        traceMessage(traceFilename, "found jvm", jvmPath);
        return true;
    }
    copyText(jvmCommand, PathCapacity, saved);
    return false;
}

bool JvmWin::searchRegistryForJvm(const char* productKey, const char* required,
                                  const char* minimum, const char* maximum, char* jvmCommand,
                                  char* jvmPath)
{
    RegKey own;
    const bool ownOpened = own.open(HKEY_LOCAL_MACHINE, productKey, KEY_READ);
    if (!ownOpened)
        traceMessage(traceFilename, "unable to find a compatible Jvm");
    else if (searchOpenKey(own.get(), productKey, 0, required, minimum, maximum, jvmCommand,
                           jvmPath))
        return true;

    // A 64-bit machine keeps the JVMs of the other word size in its other view.
    const REGSAM other = otherRegistryView();
    if (other == 0)
        return false;
    RegKey second;
    if (!second.open(HKEY_LOCAL_MACHINE, productKey, KEY_READ | other))
        return false;
    if (ownOpened && sameRegKey(own.get(), second.get()))
        return false;
    return searchOpenKey(second.get(), productKey, other, required, minimum, maximum, jvmCommand,
                         jvmPath);
}

bool JvmWin::searchOpenKey(HKEY productKeyHandle, const char* productKey, REGSAM view,
                           const char* required, const char* minimum, const char* maximum,
                           char* jvmCommand, char* jvmPath)
{
    const unsigned count = getJvmEntryCount(productKeyHandle);
    std::vector<std::string> names;
    if (count > 0) {
        traceMessage(traceFilename, "getting list of available versions");
        getAvailableVersions(productKeyHandle, count, names);
        TextBuffer text(100);
        text.format("available versions: %u", static_cast<unsigned>(names.size()));
        traceMessage(traceFilename, text);
    }
    if (names.empty()) {
        traceMessage(traceFilename, "unable to find a compatible Jvm");
        return false;
    }
    std::vector<const char*> order;
    for (const std::string& name : names)
        order.push_back(name.c_str());
    std::qsort(order.data(), order.size(), sizeof(const char*), compareStrings);
    const std::vector<std::string> sorted(order.begin(), order.end());
    traceMessage(traceFilename, "sorted available versions");
    if (findMostRecentJvm(sorted, productKey, view, required, minimum, maximum, jvmCommand,
                          jvmPath))
        return true;
    traceMessage(traceFilename, "unable to find a compatible Jvm");
    return false;
}

unsigned JvmWin::getJvmEntryCount(HKEY productKey)
{
    traceMessage(traceFilename, "counting registry elements");
    auto name = std::make_unique<char[]>(PathCapacity);
    unsigned count = 0;
    for (;;) {
        DWORD size = PathCapacity;
        const LONG status =
            RegEnumKeyExA(productKey, count, name.get(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS || status != ERROR_SUCCESS)
            break;
        ++count;
    }
    return count;
}

unsigned JvmWin::getAvailableVersions(HKEY productKey, unsigned count,
                                      std::vector<std::string>& names)
{
    names = regSubkeyNames(productKey, count);
    return static_cast<unsigned>(names.size());
}

bool JvmWin::findMostRecentJvm(const std::vector<std::string>& sortedNames,
                               const char* productKey, REGSAM view, const char* required,
                               const char* minimum, const char* maximum, char* jvmCommand,
                               char* jvmPath)
{
    traceMessage(traceFilename, "searching registry entry", productKey);
    TextBuffer version(PathCapacity);
    TextBuffer home(PathCapacity);
    for (size_t i = sortedNames.size(); i-- > 0;) {
        version.set(sortedNames[i].c_str());
        traceMessage(traceFilename, "                 version", version.c_str());
        if (lookUpRegistryEntryForJvm(productKey, view, required, minimum, maximum, version,
                                      jvmCommand, home, jvmPath))
            return true;
    }
    return false;
}

bool JvmWin::lookUpRegistryEntryForJvm(const char* productKey, REGSAM view, const char* required,
                                       const char* minimum, const char* maximum, char* version,
                                       char* jvmCommand, char* homeDir, char* jvmPath)
{
    homeDir[0] = '\0';
    TextBuffer keyPath(10003);
    keyPath.format("%s\\%s", productKey, version);
    bool result = false;
    RegKey key;
    if (!key.open(HKEY_LOCAL_MACHINE, keyPath, KEY_QUERY_VALUE | view)) {
        traceMessage(traceFilename, "no such registry entry", keyPath.c_str());
    } else {
        TextBuffer micro(PathCapacity);
        if (readString(key.get(), "MicroVersion", micro)) {
            appendText(version, PathCapacity, ".");
            appendText(version, PathCapacity, micro);
            readString(key.get(), "JavaHome", homeDir);
            traceMessage(traceFilename, "testing jvm in:", homeDir);
        } else {
            if (strcasecmp(productKey, PluginEntry) == 0) {
                TextBuffer family(PathCapacity);
                version_rules::parseVersion(*required != '\0' ? required : minimum, family, PathCapacity,
                                            micro, PathCapacity);
                appendText(version, PathCapacity, ".");
                appendText(version, PathCapacity, micro);
                traceMessage(traceFilename, "no known minor version for", productKey);
            }
            traceMessage(traceFilename, "no home directory for jvm");
            // Such keys name their home in "JavaHome" or, in older layouts, in "Home".
            if (!readString(key.get(), "JavaHome", homeDir))
                readString(key.get(), "Home", homeDir);
        }
        key.close();
        // The wider search does not test this home again, whatever the verdict.
        JvmSearch* search = JvmSearch::current();
        if (search != nullptr && homeDir[0] != '\0')
            search->firstTry(homeDir);
        auto check = std::make_unique<JvmOk>();
        check->setTraceFilename(traceFilename);
        result = check->jvmCorrectVersion(required, minimum, maximum, version, homeDir, jvmCommand,
                                          jvmPath);
    }
    traceMessage(traceFilename, "found jvm", result);
    return result;
}
