// The package's cleanup program: started by the launcher with the package directory when the
// package was unpacked away from the user's start directory, it waits (bounded) for the
// launcher to end and removes the package directory. It refuses any directory that is not
// plainly a package directory, never follows junctions and never waits without limit. Started
// from inside the directory, it hands the removal to a copy of itself under TEMP (started with
// the directory and this program's process id), since its own running file cannot go.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "util/AsciiCase.h"
#include "util/Capacity.h"
#include "util/CleanupCopies.h"
#include "util/FileNames.h"
#include "util/HeldFile.h"
#include "util/LongPath.h"
#include "util/LongPathRules.h"
#include "util/SystemDll.h"
#include "util/Wide.h"

namespace {
constexpr const char* LogFilename = "qrvcleanup.log";
constexpr DWORD LauncherWaitMs = 30000;
constexpr int RemoveAttempts = 10;
constexpr DWORD RetryPauseMs = 300;

std::string logPath;

void logLine(const std::string& text)
{
    if (logPath.empty())
        return;
    FILE* file = _wfopen(longPath(logPath.c_str()).c_str(), L"a");
    if (file == nullptr)
        return;
    const std::time_t now = std::time(nullptr);
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::fprintf(file, "%s cleanup: %s\n", stamp, text.c_str());
    std::fclose(file);
}

// The lines about held files logged so far: each goes once, however often the removal passes
// meet the file. Not a function's static object: that one's guard would bring the thread
// library into this program.
std::vector<std::string> heldLinesLogged;

void logHeldOnce(const char* line)
{
    std::vector<std::string>& logged = heldLinesLogged;
    for (const std::string& seen : logged) {
        if (seen == line)
            return;
    }
    logged.push_back(line);
    logLine(line);
}

bool removeEntry(FileAction action, const std::wstring& path)
{
    return whileHeld(action, path, [&] {
        return (action == FileAction::RemoveDir ? RemoveDirectoryW(path.c_str())
                                                : DeleteFileW(path.c_str())) != 0;
    });
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

bool samePath(const std::string& a, const std::string& b)
{
    return lowerAscii(withoutTrailingSlash(a)) == lowerAscii(withoutTrailingSlash(b));
}

// The same for two full paths in one form (both "\\?\" where long).
bool sameWidePath(const std::wstring& a, const std::wstring& b)
{
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](wchar_t x, wchar_t y) {
                                                  return lower(x) == lower(y);
                                              });
}

// `path` without its "\\?\" or "\\?\UNC\" prefix, as the log names it.
std::string plainPath(const std::wstring& path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return narrow(L"\\" + path.substr(7));
    return narrow(path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path);
}

// Whether `inner` is `outer` or lies below it.
bool isSameOrBelow(const std::string& inner, const std::string& outer)
{
    const std::string in = lowerAscii(withoutTrailingSlash(inner));
    const std::string out = lowerAscii(withoutTrailingSlash(outer));
    if (out.empty())
        return false;
    if (in == out)
        return true;
    return in.size() > out.size() && in.compare(0, out.size(), out) == 0 &&
           (in[out.size()] == '\\' || out.back() == '\\');
}

bool isAbsolute(const std::string& path)
{
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drive || unc;
}

// "C:\" or "\\server\share": a root of a volume.
bool isRoot(const std::string& path)
{
    const std::string p = withoutTrailingSlash(path);
    if (p.size() <= 2 && p.size() >= 1 && (p.size() == 1 || p[1] == ':'))
        return true;
    if (p.size() > 2 && p[0] == '\\' && p[1] == '\\') {
        const size_t server = p.find('\\', 2);
        return server == std::string::npos || p.find('\\', server + 1) == std::string::npos;
    }
    return false;
}

std::string fullPath(const std::string& path)
{
    const std::string full = fullPathOf(path.c_str());
    return full.size() < PathCapacity ? withoutTrailingSlash(full) : std::string();
}

// The attributes of `path` at any length; INVALID_FILE_ATTRIBUTES when it is not there.
DWORD attributesOf(const std::string& path)
{
    return GetFileAttributesW(longPath(path.c_str()).c_str());
}

// The folders that must never be removed nor have an ancestor removed.
std::vector<std::string> protectedFolders()
{
    std::vector<std::string> folders;
    char buffer[MAX_PATH + 1];
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer)
        folders.push_back(buffer);
    length = GetSystemDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) {
        folders.push_back(buffer);
        const SystemDll shell32("shell32.dll");
        if (shell32.loaded()) {
            using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
            auto getFolderPath = shell32.function<GetFolderPath>("SHGetFolderPathA");
            const int folderIds[] = {0x0028 /* profile */, 0x0005 /* documents */,
                                     0x0010 /* desktop */, 0x002e /* common documents */,
                                     0x001a /* app data */, 0x001c /* local app data */,
                                     0x0026 /* program files */, 0x0023 /* common app data */};
            for (int id : folderIds) {
                char folder[MAX_PATH + 1] = "";
                if (getFolderPath != nullptr &&
                    getFolderPath(nullptr, id, nullptr, 0, folder) == S_OK && folder[0] != '\0')
                    folders.push_back(folder);
            }
        }
    }
    for (const char* name : {"USERPROFILE", "TEMP", "TMP", "SystemRoot", "ProgramFiles"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            folders.push_back(value);
    }
    return folders;
}

// Why `dir` must not be removed; empty when it may be.
std::string refusalReason(const std::string& argument, std::string& dir)
{
    if (argument.empty())
        return "no directory given";
    if (!isAbsolute(argument))
        return "relative path " + argument;
    dir = fullPath(argument);
    if (dir.empty())
        return "unusable path " + argument;
    if (isRoot(dir))
        return "drive root " + dir;
    for (const std::string& folder : protectedFolders()) {
        const std::string full = fullPath(folder);
        if (!full.empty() && isSameOrBelow(full, dir))
            return "system or user folder " + dir;
    }
    // Any user's profile: the folder that holds the profiles, and every folder right in it.
    const char* profile = std::getenv("USERPROFILE");
    if (profile != nullptr && *profile != '\0') {
        const std::string full = fullPath(profile);
        const size_t slash = full.rfind('\\');
        if (slash != std::string::npos && slash > 2) {
            const std::string profiles = full.substr(0, slash);
            const size_t dirSlash = dir.rfind('\\');
            if (samePath(dir, profiles) ||
                (dirSlash != std::string::npos && samePath(dir.substr(0, dirSlash), profiles)))
                return "user profile " + dir;
        }
    }
    const DWORD attributes = attributesOf(dir);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "not a directory " + dir;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return "junction or link " + dir;
    const std::string controlFile = dir + file_names::DIR_END + file_names::QrvControlFilename;
    const DWORD control = attributesOf(controlFile);
    if (control == INVALID_FILE_ATTRIBUTES || (control & FILE_ATTRIBUTE_DIRECTORY))
        return std::string("no ") + file_names::QrvControlFilename + " in " + dir;
    return std::string();
}

// The process id of this program's parent; 0 when it cannot be told.
DWORD parentProcessId()
{
    const DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == self) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return parent;
}

// Waits, at most LauncherWaitMs, for the process `id` to end when it runs from `dir`.
void waitForProcessIn(DWORD id, const std::string& dir)
{
    if (id == 0)
        return;
    // Windows XP lacks the image-name query; there every parent is waited for (bounded).
    using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto queryImageName = kernel == nullptr ? nullptr : reinterpret_cast<QueryImageName>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "QueryFullProcessImageNameA")));
    const DWORD access = SYNCHRONIZE | (queryImageName != nullptr
                                            ? PROCESS_QUERY_LIMITED_INFORMATION
                                            : PROCESS_QUERY_INFORMATION);
    HANDLE process = OpenProcess(access, FALSE, id);
    if (process == nullptr)
        return;
    // Only a program of this package is waited for; any other parent (a shell, a test) may
    // outlive us for good.
    bool launcherOfPackage = true;
    if (queryImageName != nullptr) {
        char image[MAX_PATH * 4];
        DWORD size = sizeof image;
        launcherOfPackage = queryImageName(process, 0, image, &size) && isSameOrBelow(image, dir);
    }
    if (launcherOfPackage)
        WaitForSingleObject(process, LauncherWaitMs);
    CloseHandle(process);
}

// The process id a copy is started with: digits only, not 0.
DWORD processIdArgument(const char* text)
{
    if (text == nullptr || *text == '\0' || std::strlen(text) > 10)
        return 0;
    unsigned long long id = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return 0;
        id = id * 10 + static_cast<unsigned>(*p - '0');
    }
    return id <= 0xFFFFFFFFull ? static_cast<DWORD>(id) : 0;
}

// Starts a copy of this program under TEMP on `dir`; false when none could be made or started,
// and this program removes what it can itself.
bool handOver(const std::string& dir)
{
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return false;
    const std::wstring copy = makeCleanupCopy(self);
    if (copy.empty()) {
        logLine("no copy of the cleanup program under TEMP");
        return false;
    }
    std::wstring commandLine = L"\"" + copy + L"\" \"" + widen(dir.c_str()) + L"\" " +
                               std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Out of a job that would end it with this program, where the job lets it go.
    bool started = false;
    for (DWORD flags : {static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB), DWORD{0}}) {
        // A scanner may hold the copy made a moment ago.
        started = whileHeld(FileAction::Start, copy, [&] {
            return CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags,
                                  nullptr, nullptr, &startup, &process) != 0;
        });
        if (started)
            break;
    }
    if (!started) {
        removeEntry(FileAction::Delete, copy);
        logLine("unable to start " + narrow(copy.c_str()));
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    logLine("handed on to " + narrow(copy.c_str()) + "; exit code 0");
    return true;
}

// Removes the tree below `dir` (its "\\?\" form where long) without following junctions or
// links; collects what stays. Names stay as the system spells them: converted to 8-bit text
// with best fit (before Windows 10 1903), a folder "\u0141" beside a junction "L" would lend
// the junction its attributes and have what it points to removed.
void removeWideTree(const std::wstring& dir, const std::wstring& self,
                    std::vector<std::wstring>& left)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = long_path::extended(dir + L"\\" + name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(path.c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        bool removed;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // The link itself goes; what it points to is never touched.
            removed = removeEntry((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                      ? FileAction::RemoveDir
                                      : FileAction::Delete,
                                  path);
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            removeWideTree(path, self, left);
            removed = removeEntry(FileAction::RemoveDir, path);
        } else {
            removed = !sameWidePath(path, self) && removeEntry(FileAction::Delete, path);
        }
        if (!removed && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            left.push_back(path);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// Removes the tree below `dir` without following junctions or links; collects what stays.
void removeTree(const std::string& dir, const std::string& self, std::vector<std::string>& left)
{
    std::vector<std::wstring> wideLeft;
    removeWideTree(longPath(dir.c_str()), longPath(self.c_str()), wideLeft);
    for (const std::wstring& path : wideLeft)
        left.push_back(plainPath(path));
}
} // namespace

int main(int argc, char** argv)
{
    char temp[PathCapacity];
    const DWORD tempLength = GetTempPathA(sizeof temp, temp);
    if (tempLength > 0 && tempLength < sizeof temp)
        logPath = withoutTrailingSlash(temp) + "\\" + LogFilename;

    // A copy gets the directory and the process id of the program that started it.
    const DWORD startedBy = argc == 3 ? processIdArgument(argv[2]) : 0;
    const std::string argument =
        (argc == 2 || startedBy != 0) && argv[1] != nullptr ? argv[1] : "";
    std::string dir;
    const std::string reason = argc > 2 && startedBy == 0 ? "more than one argument"
                                                          : refusalReason(argument, dir);
    if (!reason.empty()) {
        logLine("refused: " + reason + "; exit code 2");
        return 2;
    }

    char selfPath[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, selfPath, sizeof selfPath);
    // Out of the directory, so that it can go; a TEMP folder too deep to be a current directory
    // gives way to the Windows directory.
    if (!(tempLength > 0 && tempLength < sizeof temp && SetCurrentDirectoryA(temp))) {
        char windows[MAX_PATH + 1];
        const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
        if (length > 0 && length < sizeof windows)
            SetCurrentDirectoryA(windows);
    }

    setHeldReports(logHeldOnce, logHeldOnce);
    removeCleanupCopies();
    if (startedBy != 0) {
        waitForProcessIn(startedBy, dir);
    } else {
        waitForProcessIn(parentProcessId(), dir);
        if (isSameOrBelow(selfPath, dir) && handOver(dir))
            return 0;
    }

    std::vector<std::string> left;
    bool dirRemoved = false;
    for (int attempt = 0; attempt < RemoveAttempts; ++attempt) {
        left.clear();
        removeTree(dir, selfPath, left);
        // Emptied, the directory can still be another program's current directory for a moment
        // (the launcher that started a read-only package's copy there): it is tried again too.
        dirRemoved = removeEntry(FileAction::RemoveDir, longPath(dir.c_str()));
        const bool onlySelf = left.size() == 1 && samePath(left[0], selfPath);
        if (dirRemoved || onlySelf)
            break;
        Sleep(RetryPauseMs);
    }
    for (const std::string& path : left)
        logLine("left in place: " + path);
    // The exit code says which: 0 removed, 1 something left, 2 refused.
    if (dirRemoved)
        logLine("removed " + dir + "; exit code 0");
    else
        logLine("directory left in place: " + dir + "; exit code 1");
    return dirRemoved ? 0 : 1;
}
