// Finds the Windows directory (the home directory): registry, then PATH, then fixed places.
#include "install/Install.h"

#include <windows.h>

#include <string>

#include "install/InstallTexts.h"
#include "install/PathRules.h"
#include "jvm/discovery/WinVersion.h"
#include "util/Registry.h"
#include "util/clib.h"

using namespace install_names;

namespace {
constexpr const char* NtFixedDir = "c:\\winnt";
constexpr const char* Win9xFixedDir = "c:\\windows";
constexpr const char* NtPathDir = "winnt";
constexpr const char* Win9xPathDir = "windows";

} // namespace

bool Install::getHomeDirectory()
{
    homeDirectory.clear();
    char* home = homeDirectory.data();
    const size_t size = homeDirectory.capacity();
    // Any type: the home directory has always been taken from whatever the value holds.
    const WindowsDirPlace* place = readWindowsDirectory(winNT, false, RegType::Any, home, size);
    if (place != nullptr && place->ntFamily) {
        TextBuffer trace(100);
        trace.format("got home directory from %s", place->label);
        traceMessage(TraceFilename, trace);
    }
    if (place != nullptr) {
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
