#include "install/ReadOnlyPackage.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "exec/ChildProcess.h"
#include "install/ExitCodes.h"
#include "install/PackageCopyRules.h"
#include "install/PathRules.h"
#include "util/Capacity.h"
#include "util/File.h"
#include "util/FileNames.h"
#include "util/Handle.h"
#include "util/LongPath.h"
#include "util/DiskSpace.h"
#include "util/clib.h"
#include "util/TextBuffer.h"
#include "util/TreeCopy.h"
#include "util/Wide.h"
#include "util/fexists.h"
#include "ui/Language.h"
#include "ui/StatusDialog.h"
#include "ui/StatusTexts.h"

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
constexpr const char* StartDirFilename = "startdir.txt";
constexpr const char* LauncherFilename = "setup.exe";
constexpr DWORD PercentAfterMs = 1000;
constexpr int FolderAttempts = 100;

unsigned long long mebibytes(unsigned long long bytes)
{
    return bytes / (1ull << 20) + (bytes % (1ull << 20) != 0 ? 1 : 0);
}

// The status dialog of a shown run while the package is copied; a quiet run shows nothing.
class CopyStatus : public TreeCopyProgress {
public:
    CopyStatus(bool quiet, unsigned long long total) : total_(total), start_(GetTickCount())
    {
        if (quiet)
            return;
        dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), L"STATUSDIALOG", nullptr,
                                     StatusDialog, 0);
        if (dialog_ == nullptr)
            return;
        setWindowCharType(dialog_);
        ShowWindow(dialog_, SW_SHOW);
        char language[1000];
        getLanguage(language);
        text_ = widen(copyingText(language), CP_UTF8);
        show(text_.c_str());
    }
    ~CopyStatus()
    {
        if (dialog_ != nullptr)
            DestroyWindow(dialog_);
    }
    CopyStatus(const CopyStatus&) = delete;
    CopyStatus& operator=(const CopyStatus&) = delete;

    void copied(unsigned long long bytes) override
    {
        if (dialog_ == nullptr)
            return;
        // The part done is told once the copy takes long enough to wonder about.
        const unsigned percent = total_ == 0 ? 100 : static_cast<unsigned>(bytes * 100 / total_);
        if (GetTickCount() - start_ >= PercentAfterMs && percent != shownPercent_) {
            shownPercent_ = percent;
            show((text_ + L" " + std::to_wstring(percent) + L" %").c_str());
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog_, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

private:
    void show(const wchar_t* text) { SetDlgItemTextW(dialog_, StatusTextControl, text); }

    std::wstring text_;
    unsigned long long total_;
    DWORD start_;
    HWND dialog_ = nullptr;
    unsigned shownPercent_ = 101;
};
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

std::string ReadOnlyPackage::logFolder(const std::string& dir)
{
    return tempDirectory() + "\\" + logFolderName(dir);
}

std::string ReadOnlyPackage::copyFolderPrefix() const
{
    // The tag of the log folder's name: eight hexadecimal digits made from the whole path.
    const std::string logs = logFolderName(packageDir_);
    return "qrv-copy-" + logs.substr(logs.size() - 8) + "-";
}

void ReadOnlyPackage::removeStaleCopies(const std::string& temp)
{
    std::vector<std::string> folders;
    if (!listDir(temp.c_str(), folders, (copyFolderPrefix() + "*").c_str()))
        return;
    for (const std::string& name : folders)
        delDirTree((temp + "\\" + name).c_str());
}

std::string ReadOnlyPackage::makeCopyFolder(const std::string& temp)
{
    // Made so that it fails where the name is taken: a folder someone else made is never used.
    const unsigned long seed = GetCurrentProcessId() * 65536ul + (GetTickCount() & 0xffff);
    const std::string prefix = temp + "\\" + copyFolderPrefix();
    for (int attempt = 0; attempt < FolderAttempts; ++attempt) {
        const std::string folder = prefix + std::to_string(seed + attempt);
        if (makeDir(folder.c_str()))
            return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return std::string();
}

int ReadOnlyPackage::runFromCopy(bool quiet, const char* arguments)
{
    const std::string temp = tempDirectory();
    removeStaleCopies(temp);
    std::vector<TreeEntry> listing;
    std::string failed;
    const bool listed = listTree(packageDir_, listing, failed);
    const PackageCopyPlan plan = planPackageCopy(listing);
    const unsigned long long needed = packageCopySpace(plan.bytes);
    ULARGE_INTEGER free{};
    if (listed && (!GetDiskFreeSpaceExW(longPath(temp.c_str()).c_str(), &free, nullptr, nullptr) ||
                   free.QuadPart < needed)) {
        TextBuffer message(packageDir_.size() + temp.size() + 300);
        message.format("The package directory %s cannot be written, and its copy needs %llu MiB "
                       "in the temporary folder %s, which has %llu MiB free.\r\rFree some space "
                       "there, or copy the package to a writable folder and start it there.",
                       packageDir_.c_str(), mebibytes(needed), temp.c_str(),
                       mebibytes(free.QuadPart));
        return reportInTemp(quiet, "package too large for the temporary folder:", message,
                            exit_codes::ReadOnlyPackage);
    }
    const std::string copy = listed ? makeCopyFolder(temp) : std::string();
    bool copied = false;
    bool diskFull = false;
    if (!copy.empty()) {
        CopyStatus status(quiet, plan.bytes);
        copied = copyTree(packageDir_, copy, listing, plan.copied, &status, failed);
        diskFull = !copied && isDiskFull(GetLastError());
    }
    if (!copied) {
        if (!copy.empty())
            delDirTree(copy.c_str());
        TextBuffer message(packageDir_.size() + failed.size() + temp.size() + 300);
        message.format("The package directory %s cannot be written, and %s could not be copied "
                       "to the temporary folder %s.%s\r\rCopy the package to a writable folder "
                       "and start it there.",
                       packageDir_.c_str(), failed.empty() ? "it" : failed.c_str(), temp.c_str(),
                       diskFull ? (" " + diskFullText(temp)).c_str() : "");
        return reportInTemp(quiet, "package cannot be copied:", message,
                            exit_codes::ReadOnlyPackage);
    }
    // Traced where the package asked for a trace (its trace file came along).
    const std::string trace = copy + "\\" + TraceFilename;
    traceMessage(trace.c_str(), "package directory cannot be written; copied to", copy.c_str());
    for (size_t index : plan.skipped)
        traceMessage(trace.c_str(), "link not copied:", listing[index].name.c_str());
    release();
    const std::string startDir = copy + "\\" + StartDirFilename;
    if (!fexists(startDir.c_str())) {
        File file(startDir.c_str(), "w");
        if (file)
            std::fprintf(file.get(), "%s\n", packageDir_.c_str());
    }
    std::string program = copy + "\\" + LauncherFilename;
    if (!fexists(program.c_str())) {
        wchar_t self[PathCapacity];
        const DWORD length = GetModuleFileNameW(nullptr, self, PathCapacity);
        program = length > 0 && length < PathCapacity ? narrow(self) : std::string();
    }
    const std::string commandLine = "\"" + program + "\" " + arguments;
    if (!SetCurrentDirectoryW(longPath(copy.c_str()).c_str()))
        return exit_codes::OtherFailure;
    const ChildRun run = runChild(program.c_str(), commandLine);
    SetCurrentDirectoryW(longPath(temp.c_str()).c_str());
    if (!run.started) {
        delDirTree(copy.c_str());
        return exit_codes::OtherFailure;
    }
    return static_cast<int>(run.exitCode);
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
