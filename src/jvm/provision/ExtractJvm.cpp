#include "jvm/discovery/VersionRules.h"
#include "jvm/provision/ExtractJvm.h"

#include "config/GetParameters.h"

#include <cstdio>
#include <cstring>

#include "jvm/provision/JvmDirRules.h"
#include "util/Registry.h"
#include "util/TextBuffer.h"
#include "util/clib.h"
#include "util/FileNames.h"

using namespace file_names;

namespace {
constexpr const char* CurrentVersionEntry = "CurrentVersion";
constexpr const char* MicroVersionEntry = "MicroVersion";
constexpr unsigned LabelCapacity = 10000;
constexpr unsigned LineCapacity = 1001;
constexpr unsigned VersionCapacity = 201;

// The write rights, strongest first: the first one the system grants is used.
constexpr REGSAM WriteRights[] = {KEY_ALL_ACCESS, KEY_READ | KEY_WRITE, KEY_CREATE_SUB_KEY};

} // namespace

ExtractJvm::ExtractJvm() = default;
ExtractJvm::~ExtractJvm() = default;

bool ExtractJvm::configureWinReg()
{
    return readConfigureWinRegistry(*this, "configWinReg in extractjvmwin");
}

bool ExtractJvm::addJvmToRegistry(const char* productKey, const char* homeValueName,
                                  const char* versionName, const char* micro, const char* home,
                                  const char*)
{
    addJvmTopLevelKey(productKey, versionName);

    TextBuffer subkey(PathCapacity);
    if (!subkey.format("%s\\%s", productKey, versionName)) {
        traceMessage(TraceFilename, "unable to add registry key", subkey.c_str());
        traceMessage(TraceFilename, "unable to addJvmToRegistry");
        return false;
    }

    RegKey key;
    bool opened = false;
    for (int attempt = 0; attempt < 2 && !opened; ++attempt)
        opened = key.open(HKEY_LOCAL_MACHINE, subkey, KEY_QUERY_VALUE);
    if (opened) {
        const bool registered = !regValueIsEmpty(key.get(), MicroVersionEntry);
        key.close();
        // A version with a micro part is registered already: leave it as it is.
        if (registered)
            return true;
    }

    bool writable = false;
    for (int attempt = 0; attempt < 2 && !writable; ++attempt)
        writable = addToRegistry(HKEY_LOCAL_MACHINE, subkey, key);
    if (!writable) {
        traceMessage(TraceFilename, "unable to add registry key", subkey.c_str());
        traceMessage(TraceFilename, "unable to addJvmToRegistry");
        return false;
    }
    addJvmSubentries(key.get(), homeValueName, versionName, micro, home);
    return true;
}

void ExtractJvm::addJvmTopLevelKey(const char* productKey, const char* versionName)
{
    RegKey key;
    if (!addToRegistry(HKEY_LOCAL_MACHINE, productKey, key))
        return;
    TextBuffer family(VersionCapacity);
    TextBuffer micro(VersionCapacity);
    version_rules::parseVersion(versionName, family.data(), family.capacity(), micro.data(), micro.capacity());

    if (regValueIsEmpty(key.get(), CurrentVersionEntry) && !addValueToRegistry(key.get(), CurrentVersionEntry, family))
        traceMessage(TraceFilename, "unable to set current version of JVM to", family.c_str());
}

bool ExtractJvm::addToRegistry(HKEY root, const char* subkey, RegKey& key)
{
    key.close();
    writingKey = subkey;
    if (RegKey().open(root, subkey, KEY_QUERY_VALUE)) {
        for (REGSAM rights : WriteRights) {
            if (key.open(root, subkey, rights))
                return true;
        }
    }
    writingKey = subkey;
    changes.beforeKeyCreated(subkey);
    for (REGSAM rights : WriteRights) {
        if (key.create(root, subkey, rights))
            return true;
    }
    traceMessage(TraceFilename, "Unable to create registry key", subkey);
    return false;
}

bool ExtractJvm::addJvmSubentries(HKEY key, const char* homeValueName, const char*,
                                  const char* micro, const char* home)
{
    addValueToRegistry(key, homeValueName, home);
    return addValueToRegistry(key, MicroVersionEntry, micro);
}

bool ExtractJvm::addValueToRegistry(HKEY key, const char* name, const char* text)
{
    if (!regValueIsEmpty(key, name)) {
        TextBuffer existing(PathCapacity);
        readRegText(key, name, existing.data(), existing.capacity());
        traceMessage(TraceFilename, name, "already exists in registry");
        traceMessage(TraceFilename, "value", existing.c_str());
        return true;
    }
    const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    changes.beforeValueWritten(key, writingKey.c_str(), name);
    if (RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) !=
        ERROR_SUCCESS)
        return false;
    TextBuffer label(LabelCapacity);
    label.format("Added registry value to %s:", name);
    traceMessage(TraceFilename, label.c_str(), text);
    return true;
}
