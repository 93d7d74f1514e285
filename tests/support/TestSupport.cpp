#include "TestSupport.h"

#include "diag/Trace.h"

#include <direct.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace qrvtest {

namespace {

std::atomic<unsigned> counter{0};

std::string tempRoot()
{
    char buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string root = (length > 0 && length < sizeof buffer) ? std::string(buffer, length) : ".\\";
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    return root;
}

// Removes a tree without the code under test, clearing read-only flags on the way.
void removeTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                removeTree(full);
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(full.c_str());
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

} // namespace

TempDir::TempDir()
{
    char cwd[MAX_PATH * 4];
    saved_ = _getcwd(cwd, sizeof cwd) ? cwd : "";
    const std::string base = tempRoot() + "\\qrvtest-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(counter++);
    removeTree(wideName(base));  // leftovers of a crashed earlier run with the same process id
    CreateDirectoryA(base.c_str(), nullptr);
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(base.c_str(), sizeof full, full, nullptr);
    path_ = (length > 0 && length < sizeof full) ? full : base;
    _chdir(path_.c_str());
}

TempDir::~TempDir()
{
    _chdir(saved_.c_str());
    // The trace of a test is held open between lines; its directory goes with it.
    Trace::release();
    removeTree(wideName(path_));
}

RegistryOverride::RegistryOverride()
{
    root_ = "Software\\QrvTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, (root_ + "\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &machine_, nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, (root_ + "\\HKCU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &user_, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
    RegOverridePredefKey(HKEY_CURRENT_USER, user_);
}

RegistryOverride::~RegistryOverride()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (machine_ != nullptr)
        RegCloseKey(machine_);
    if (user_ != nullptr)
        RegCloseKey(user_);
    RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
}

EnvOverride::EnvOverride(const std::string& name, const std::string& value) : name_(name)
{
    const char* old = std::getenv(name.c_str());
    had_ = old != nullptr;
    saved_ = had_ ? old : "";
    if (_putenv((name + "=" + value).c_str()) != 0)
        ADD_FAILURE() << "cannot set the environment variable " << name;
}

EnvOverride::~EnvOverride()
{
    _putenv((name_ + "=" + (had_ ? saved_ : "")).c_str());
}

std::wstring wideName(const std::string& path)
{
    const int size = static_cast<int>(path.size());
    std::wstring wide(path.size(), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, path.data(), size, &wide[0], size)));
    const bool absolute = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    return absolute && wide.size() >= 248 ? L"\\\\?\\" + wide : wide;
}

std::string shortPathOf(const std::string& path)
{
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetShortPathNameW(wideName(path).c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    char out[MAX_PATH * 4];
    const int size = WideCharToMultiByte(CP_ACP, 0, buffer, -1, out, sizeof out, nullptr, nullptr);
    const std::string text = size > 0 ? out : "";
    return text.compare(0, 4, "\\\\?\\") == 0 ? text.substr(4) : text;
}

void writeFile(const std::string& path, const std::string& content)
{
    FILE* out = _wfopen(wideName(path).c_str(), L"wb");
    if (out == nullptr) {
        ADD_FAILURE() << "cannot create " << path << ": " << std::strerror(errno);
        return;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    if (!written)
        ADD_FAILURE() << "cannot write " << path << ": " << std::strerror(errno);
    if (std::fclose(out) != 0 && written)
        ADD_FAILURE() << "cannot write " << path << ": " << std::strerror(errno);
}

void copyFile(const std::string& from, const std::string& to)
{
    if (!CopyFileW(wideName(from).c_str(), wideName(to).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << from << " to " << to << ": error " << GetLastError();
}

void makeDirs(const std::string& path)
{
    // Every parent from the first one after the drive or share on; most exist already.
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(wideName(path.substr(0, at)).c_str(), nullptr);
    if (!CreateDirectoryW(wideName(path).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        ADD_FAILURE() << "cannot create the directory " << path << ": error " << GetLastError();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string readTextFile(const std::string& path)
{
    std::string text = readFile(path);
    std::string::size_type at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos)
        text.erase(at, 1);
    return text;
}

bool exists(const std::string& path)
{
    return GetFileAttributesW(wideName(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void createTraceLog(const std::string& dir)
{
    writeFile(dir.empty() ? "jinstall.log" : dir + "\\jinstall.log", "");
}

size_t count(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

std::string forwardSlashes(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string windowsDirectory()
{
    char buffer[MAX_PATH * 4];
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::istringstream text(readFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string stripTimeStamp(const std::string& line)
{
    return line.size() >= 25 ? line.substr(25) : line;
}

std::vector<std::string> logMessages(const std::string& path)
{
    std::vector<std::string> messages;
    for (const std::string& line : readLines(path))
        messages.push_back(stripTimeStamp(line));
    return messages;
}

std::string programDir()
{
    char buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string path(buffer, length < sizeof buffer ? length : 0);
    const std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string builtProgram(const std::string& name)
{
    return programDir() + "\\" + name;
}

namespace {

// `path`'s Unix name through Wine's own export (Windows has none); empty elsewhere.
std::string unixPath(const std::string& path)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto unixName = kernel == nullptr ? nullptr : reinterpret_cast<UnixName>(reinterpret_cast<void*>(
                                                      GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (unixName == nullptr)
        return std::string();
    wchar_t wide[MAX_PATH * 4] = L"";
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 4) == 0)
        return std::string();
    char* name = unixName(wide);
    std::string result = name != nullptr ? name : "";
    if (name != nullptr)
        HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Starts the Unix program of `commandLine` and waits (bounded) until `done` holds: Wine starts
// Unix programs as well, but gives no handle to wait on.
template <typename Done>
bool runUnix(const std::string& commandLine, Done done)
{
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 100 && !done(); ++i)
        Sleep(100);
    return done();
}

} // namespace

bool makeUnixLink(const std::string& link, const std::string& target)
{
    const std::string from = unixPath(link);
    const std::string to = unixPath(target);
    if (from.empty() || to.empty())
        return false;
    // Opened rather than asked for its attributes, which a device does not give.
    auto present = [&link] {
        HANDLE file = CreateFileA(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        return true;
    };
    return runUnix("Z:\\bin\\ln -s \"" + to + "\" \"" + from + "\"", present);
}

std::string quotedUnixName(const std::string& path)
{
    return "'" + unixPath(path) + "'";
}

std::string tempDirectory()
{
    char temp[MAX_PATH] = "";
    const DWORD length = GetTempPathA(sizeof temp, temp);
    return std::string(temp, length < sizeof temp ? length : 0);
}

namespace {
// Runs `script` and waits (bounded) until it has ended; true when it ended with 0.
bool runUnixScript(const std::string& script)
{
    static int count = 0;
    const std::string file = tempDirectory() + "qrv-script-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    const std::string status = file + ".status";
    writeFile(file, "(\n" + script + "\n)\necho $? > " + quotedUnixName(status) + "\n");
    const bool ended = runUnix("Z:\\bin\\sh \"" + unixPath(file) + "\"", [&status] {
        return GetFileAttributesA(status.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    const bool ran = ended && readFile(status).rfind("0", 0) == 0;
    DeleteFileA(status.c_str());
    DeleteFileA(file.c_str());
    return ran;
}
} // namespace

UnixChange::UnixChange(const std::string& make, std::string undo)
    : undo_(std::move(undo)), made_(runUnixScript(make))
{
}

UnixChange::~UnixChange()
{
    runUnixScript(undo_);
}

// Probed once chattr has ended (a probe folder made as the flag takes effect could not go again);
// the script's file carries the Unix name in any letters, which a command line would not.
UnwritableDir::UnwritableDir(const std::string& dir)
    : UnixChange("/usr/bin/chattr +i " + quotedUnixName(dir),
                 "/usr/bin/chattr -i " + quotedUnixName(dir))
{
    const std::string probe = dir + "\\__flagprobe";
    unwritable_ = !(CreateDirectoryA(probe.c_str(), nullptr) && RemoveDirectoryA(probe.c_str()));
}

RunResult runProgram(const std::string& commandLine, const std::string& workDir, DWORD timeoutMs,
                     DWORD flags)
{
    RunResult result;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    // Wine now and then refuses a start while the previous child is still being torn down;
    // a few spaced attempts keep such a hiccup from failing a test.
    bool created = false;
    for (int attempt = 0; attempt < 5 && !created; ++attempt) {
        if (attempt > 0)
            Sleep(300);
        created = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, flags, nullptr,
                                 workDir.empty() ? nullptr : workDir.c_str(), &startup,
                                 &process) != FALSE;
    }
    if (!created)
        return result;
    result.started = true;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        result.finished = true;
        GetExitCodeProcess(process.hProcess, &result.exitCode);
    } else {
        TerminateProcess(process.hProcess, 255);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

bool processGone(DWORD pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr)
        return true;
    const bool ended = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool waitUntil(const std::function<bool()>& done, DWORD limitMs)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(50))
        if (done())
            return true;
    return done();
}

void setRegString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value)
{
    HKEY handle = nullptr;
    LONG rc = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                              nullptr);
    if (rc != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create the registry key " << key << ": error " << rc;
        return;
    }
    rc = RegSetValueExA(handle, name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot set the registry value " << key << "\\" << name << ": error "
                      << rc;
}

bool getRegString(HKEY root, const std::string& key, const std::string& name, std::string& value)
{
    char buffer[8192];
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    const LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return false;
    buffer[size] = '\0';
    value = buffer;
    return true;
}

void deleteRegTree(HKEY root, const std::string& key)
{
    const LONG rc = RegDeleteTreeA(root, key.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "cannot delete the registry key " << key << ": error " << rc;
}

bool keyExists(const std::string& key, HKEY root)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::vector<RecordedStart> recordedStarts(const std::string& recordFile)
{
    std::vector<RecordedStart> starts;
    if (!exists(recordFile))
        return starts;
    for (const std::string& line : readLines(recordFile)) {
        if (line == "start")
            starts.emplace_back();
        else if (!starts.empty())
            starts.back().push_back(line);
    }
    return starts;
}

std::vector<std::string> linesStartingWith(const RecordedStart& lines, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            out.push_back(line.substr(prefix.size()));
    }
    return out;
}

RecordedStart startLines(const std::string& cwd, const std::vector<std::string>& argv)
{
    RecordedStart lines = {"cwd=" + cwd};
    for (size_t i = 0; i < argv.size(); ++i)
        lines.push_back((i == 0 ? "program=" : "arg=") + argv[i]);
    return lines;
}

} // namespace qrvtest
