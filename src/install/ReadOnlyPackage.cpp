#include "install/ReadOnlyPackage.h"

#include <windows.h>

#include "install/ExitCodes.h"
#include "install/PathRules.h"
#include "util/Capacity.h"
#include "util/FileNames.h"
#include "util/Handle.h"
#include "util/TextBuffer.h"

using namespace file_names;

namespace {
constexpr const char* ProbeFilename = "__qrvtest.zos";

std::string tempDirectory()
{
    char buffer[PathCapacity];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::string();
    std::string dir(buffer, length);
    while (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    return dir;
}
} // namespace

bool ReadOnlyPackage::unwritable(const char* packageDir)
{
    const std::string probe = std::string(packageDir) + "\\" + ProbeFilename;
    const Handle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    const DWORD error = GetLastError();
    return !file.valid() && refusesWrites(error);
}

int ReadOnlyPackage::report(bool quiet)
{
    const std::string folder = tempDirectory() + "\\" + logFolderName(packageDir_);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string errors = folder + "\\" + ErrorsFilename;
    const std::string trace = folder + "\\" + TraceFilename;
    // The trace is written only into a file that exists: this one is the run's own.
    logMessage(trace.c_str(), "Preparing Java install wizard");
    logMessage(trace.c_str(), "package directory cannot be written:", packageDir_.c_str());

    TextBuffer message(packageDir_.size() + 200);
    message.format("The package directory %s cannot be written.\r\rCopy the package to a "
                   "writable folder and start it there.",
                   packageDir_.c_str());
    TextBuffer details(folder.size() + 100);
    details.format("The logs of this run are in %s.", folder.c_str());
    logAndTraceMessage(errors.c_str(), trace.c_str(), message);
    logAndTraceMessage(errors.c_str(), trace.c_str(), details);
    setQuietMode(quiet);
    showError(message, details);
    return exit_codes::ReadOnlyPackage;
}
