// Finds the Windows directory (the home directory): registry, then PATH, then fixed places.
#include "install/Install.h"

#include <windows.h>

#include <string>

#include "install/InstallTexts.h"
#include "install/PathRules.h"
#include "util/clib.h"

using namespace install_names;

namespace {
constexpr const char* NtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* NtSetupKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SETUP";
constexpr const char* Win9xSetupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SETUP";
constexpr const char* NtFixedDir = "c:\\winnt";
constexpr const char* Win9xFixedDir = "c:\\windows";
constexpr const char* NtPathDir = "winnt";
constexpr const char* Win9xPathDir = "windows";

// An open registry key, closed when the owner goes.
class RegKey {
public:
    RegKey(HKEY root, const char* name)
    {
        if (RegOpenKeyExA(root, name, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegKey()
    {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Reads one value of HKLM\`keyName` into `out` (capacity `size`, NUL always written); true
// when it gave a non-empty text. The type is not looked at.
bool readValue(const char* keyName, const char* valueName, char* out, size_t size)
{
    out[0] = '\0';
    RegKey key(HKEY_LOCAL_MACHINE, keyName);
    if (key.get() == nullptr)
        return false;
    // One byte is kept back so that a value stored without its NUL still ends in one.
    DWORD bytes = static_cast<DWORD>(size - 1);
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(out), &bytes) != ERROR_SUCCESS) {
        out[0] = '\0';
        return false;
    }
    out[bytes < size ? bytes : size - 1] = '\0';
    return out[0] != '\0';
}
} // namespace

bool Install::getHomeDirectory()
{
    homeDirectory.clear();
    char* home = homeDirectory.data();
    const size_t size = homeDirectory.capacity();
    bool found = false;
    if (winNT) {
        struct Source {
            const char* key;
            const char* value;
            const char* trace;
        };
        const Source sources[] = {
            {NtKey, "SystemRoot", "got home directory from SystemRoot"},
            {NtKey, "PathName", "got home directory from PathName"},
            {NtKey, "WinDir", "got home directory from WinDir"},
            {NtSetupKey, "WinDir", "got home directory from Setup WinDir"},
        };
        for (const Source& source : sources) {
            if (readValue(source.key, source.value, home, size)) {
                traceMessage(TraceFilename, source.trace);
                found = true;
                break;
            }
        }
    } else {
        found = readValue(Win9xSetupKey, "WinDir", home, size);
    }
    if (found) {
        traceMessage(TraceFilename, "home directory", home);
        return true;
    }

    traceMessage(TraceFilename, "unable to get windows directory from registry");
    if (isDirInPath(winNT ? NtPathDir : Win9xPathDir, home)) {
        traceMessage(TraceFilename, "home directory", home);
        return true;
    }
    const char* fixed = winNT ? NtFixedDir : Win9xFixedDir;
    if (fexists(fixed)) {
        homeDirectory.set(fixed);
        traceMessage(TraceFilename, "home directory", home);
        return true;
    }
    getCurrentDir(home, PathSize);
    traceMessage(TraceFilename, "unable to get windows directory");
    if (homeDirectory.empty())
        return false;
    traceMessage(TraceFilename, "home directory", home);
    return true;
}

bool Install::isDirInPath(const char* name, char* out)
{
    const char* path = getPathPtr();
    if (path == nullptr)
        return false;
    for (const std::string& entry : pathEntriesEndingIn(path, name)) {
        if (fexists(entry.c_str())) {
            copyText(out, PathCapacity, entry.c_str());
            return true;
        }
    }
    return false;
}
