#include "jvm/discovery/JvmWin.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>

#include "jvm/discovery/JvmOk.h"
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

// The kernel's full name of an open key, empty when it cannot be had.
std::wstring keyName(HKEY key)
{
    using NtQueryKeyFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr)
        return std::wstring();
    auto query = reinterpret_cast<NtQueryKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryKey")));
    if (query == nullptr)
        return std::wstring();
    constexpr int KeyNameInformation = 3;
    std::vector<unsigned char> buffer(4096);
    ULONG size = 0;
    if (query(key, KeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &size) !=
        0)
        return std::wstring();
    ULONG length = 0;
    std::memcpy(&length, buffer.data(), sizeof length);
    length = std::min<ULONG>(length, static_cast<ULONG>(buffer.size() - sizeof length));
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer.data() + sizeof length),
                        length / sizeof(wchar_t));
}

// True when both handles lead to one key (a view without a separate copy of the key).
bool sameKey(HKEY first, HKEY second)
{
    const std::wstring firstName = keyName(first);
    return !firstName.empty() && firstName == keyName(second);
}

} // namespace

int compareStrings(const void* first, const void* second)
{
    return std::strcmp(*static_cast<const char* const*>(first),
                       *static_cast<const char* const*>(second));
}

REGSAM otherRegistryView()
{
#ifdef _WIN64
    return KEY_WOW64_32KEY;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64)
        return KEY_WOW64_64KEY;
    return 0;
#endif
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
    if (ownOpened && sameKey(own.get(), second.get()))
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
    auto name = std::make_unique<char[]>(PathCapacity);
    for (DWORD index = 0; names.size() < count; ++index) {
        DWORD size = PathCapacity;
        if (RegEnumKeyExA(productKey, index, name.get(), &size, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        name[std::min<DWORD>(size, PathCapacity - 1)] = '\0';
        names.emplace_back(name.get());
    }
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
        auto check = std::make_unique<JvmOk>();
        check->setTraceFilename(traceFilename);
        result = check->jvmCorrectVersion(required, minimum, maximum, version, homeDir, jvmCommand,
                                          jvmPath);
    }
    traceMessage(traceFilename, "found jvm", result);
    return result;
}
