#include "install/ReadOnlyPackage.h"

#include <windows.h>

#include "install/ExitCodes.h"
#include "install/PathRules.h"
#include "util/Capacity.h"
#include "util/FileNames.h"
#include "util/Handle.h"
#include "util/LongPath.h"
#include "util/clib.h"
#include "util/TextBuffer.h"
#include "util/fexists.h"

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
    const Handle file(CreateFileW(longPath(probe.c_str()).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                  nullptr));
    const DWORD error = GetLastError();
    return !file.valid() && refusesWrites(error);
}

int ReadOnlyPackage::report(bool quiet)
{
    TextBuffer message(packageDir_.size() + 200);
    message.format("The package directory %s cannot be written.\r\rCopy the package to a "
                   "writable folder and start it there.",
                   packageDir_.c_str());
    return reportInTemp(quiet, "package directory cannot be written:", message,
                        exit_codes::ReadOnlyPackage);
}

int ReadOnlyPackage::reportTooDeep(bool quiet, size_t limit)
{
    TextBuffer message(packageDir_.size() + 300);
    message.format("The path of the package directory %s is longer than the %u characters a "
                   "program can be started in, and it has no short name.\r\rMove the package "
                   "to a folder with a shorter path and start it there.",
                   packageDir_.c_str(), static_cast<unsigned>(limit));
    return reportInTemp(quiet, "package directory too long to start a program in:", message,
                        exit_codes::OtherFailure);
}

int ReadOnlyPackage::reportInTemp(bool quiet, const char* traceLine, const char* message,
                                  int exitCode)
{
    const std::string folder = tempDirectory() + "\\" + logFolderName(packageDir_);
    makeDir(folder.c_str());
    const std::string errors = folder + "\\" + ErrorsFilename;
    const std::string trace = folder + "\\" + TraceFilename;
    // The trace is written only into a file that exists: this one is the run's own.
    logMessage(trace.c_str(), "Preparing Java install wizard");
    logMessage(trace.c_str(), traceLine, packageDir_.c_str());

    logAndTraceMessage(errors.c_str(), trace.c_str(), message);
    // The box names the folder as the logs' place only where they really are.
    TextBuffer details(folder.size() + 100);
    details.format(fexists(errors.c_str()) ? "The logs of this run are in %s."
                                           : "The logs of this run could not be written to %s.",
                   folder.c_str());
    logAndTraceMessage(errors.c_str(), trace.c_str(), details);
    setQuietMode(quiet);
    showError(message, details);
    return exitCode;
}
