#include "system/SystemSupport.h"
#include "support/LogCheck.h"
#include "install/PathRules.h"

#include <algorithm>
#include <cstdlib>

#include "util/Wide.h"

using namespace qrvtest;

namespace systemtest {

namespace {

unsigned savedKeys = 0;

// Copies `from` below `fromRoot` to `to` below `toRoot`; the Windows error, or ERROR_SUCCESS.
LONG copyTree(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to)
{
    HKEY source = nullptr;
    LONG rc = RegOpenKeyExA(fromRoot, from.c_str(), 0, KEY_READ, &source);
    if (rc != ERROR_SUCCESS)
        return rc;
    HKEY target = nullptr;
    rc = RegCreateKeyExA(toRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                         nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = RegCopyTreeA(source, nullptr, target);
        RegCloseKey(target);
    }
    RegCloseKey(source);
    return rc;
}

void listTree(const std::string& dir, const std::string& relative, TreeView view,
              std::vector<std::string>& out)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wideName(dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = narrow(data.cFileName);
        if (name == "." || name == "..")
            continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (view == TreeView::Names)
            out.push_back(path);
        else
            out.push_back(path + " " + std::to_string(data.nFileSizeLow) + " " +
                          std::to_string(data.dwFileAttributes & ~FILE_ATTRIBUTE_ARCHIVE));
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            listTree(dir + "\\" + name, path, view, out);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

} // namespace

SavedKey::SavedKey(const std::string& key, Start start, HKEY root)
    : root_(root),
      key_(key),
      backup_("Software\\QrvTests\\saved-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(savedKeys++))
{
    RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());  // leftover of a killed earlier run
    existed_ = keyExists(key_, root_);
    if (existed_) {
        const LONG rc = copyTree(root_, key_, HKEY_CURRENT_USER, backup_);
        if (rc != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot save the registry key " << key_ << ": error " << rc;
            return;
        }
    }
    saved_ = true;
    if (start == Emptied)
        deleteRegTree(root_, key_);
}

SavedKey::~SavedKey()
{
    if (!saved_)
        return;
    deleteRegTree(root_, key_);
    if (existed_) {
        const LONG rc = copyTree(HKEY_CURRENT_USER, backup_, root_, key_);
        if (rc != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot put the registry key " << key_ << " back (a copy stays in "
                          << "HKEY_CURRENT_USER\\" << backup_ << "): error " << rc;
            return;
        }
    }
    deleteRegTree(HKEY_CURRENT_USER, backup_);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QrvTests");  // only when nothing else is there
}

SavedValue::SavedValue(const std::string& key, const std::string& name, const std::string& value)
    : key_(key), name_(name)
{
    had_ = getRegString(HKEY_LOCAL_MACHINE, key_, name_, old_);
    setRegString(HKEY_LOCAL_MACHINE, key_, name_, value);
}

SavedValue::~SavedValue()
{
    if (had_) {
        setRegString(HKEY_LOCAL_MACHINE, key_, name_, old_);
        return;
    }
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, &handle) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(handle, name_.c_str());
        RegCloseKey(handle);
    }
}

MachineWithoutJvms::MachineWithoutJvms(const std::string& programFiles)
{
    for (const char* key : DistributionKeys) {
        const std::string name = key;
        const std::string key32 = "SOFTWARE\\Wow6432Node" + name.substr(name.find('\\'));
        distributions_.push_back(std::make_unique<SavedKey>(name, SavedKey::Emptied));
        distributions_.push_back(std::make_unique<SavedKey>(key32, SavedKey::Emptied));
        distributions_.push_back(
            std::make_unique<SavedKey>(name, SavedKey::Emptied, HKEY_CURRENT_USER));
    }
    if (!programFiles.empty())
        programFiles_.emplace(WindowsKey, "ProgramFilesDir", programFiles);
}

JvmKeys::JvmKeys(const std::string& version, const std::string& home)
{
    deleteRegTree(HKEY_LOCAL_MACHINE, std::string(JreKey) + "\\" + version);
    setString(version, "JavaHome", home);
    closeAll();
}

HKEY JvmKeys::version(const std::string& name)
{
    const std::string key = std::string(JreKey) + "\\" + name;
    HKEY handle = nullptr;
    const LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    if (rc != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create the registry key " << key << ": error " << rc;
        return nullptr;
    }
    keys_.push_back(handle);
    return handle;
}

void JvmKeys::setString(const std::string& version, const char* value, const std::string& text)
{
    if (HKEY key = this->version(version))
        setRaw(key, value, REG_SZ, text.data(), text.size() + 1);
}

void JvmKeys::setRaw(HKEY key, const char* value, DWORD type, const void* data, size_t size)
{
    const LONG rc = RegSetValueExA(key, value, 0, type, static_cast<const BYTE*>(data),
                                   static_cast<DWORD>(size));
    if (rc != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot set the registry value " << value << ": error " << rc;
}

void JvmKeys::closeAll()
{
    for (HKEY key : keys_)
        RegCloseKey(key);
    keys_.clear();
}

std::vector<std::string> treeOf(const std::string& dir, TreeView view)
{
    std::vector<std::string> out;
    listTree(dir, "", view, out);
    std::sort(out.begin(), out.end());
    return out;
}

std::string freshLogFolder(const std::string& packageDir)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    // The launcher names the folder in its own text, UTF-8: so does its tag.
    const std::string folder = temp + fromUtf8(logFolderName(toUtf8(packageDir.c_str())));
    for (const char* log : {"\\errors.log", "\\jinstall.log"})
        DeleteFileA((folder + log).c_str());
    RemoveDirectoryA(folder.c_str());
    return folder;
}

FullDisk::FullDisk()
{
    // The prefix's own folder, from Wine's Unix name of its Windows directory.
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* windows = unixName != nullptr ? unixName(L"C:\\windows") : nullptr;
    const std::string prefix = windows == nullptr ? "" : std::string(windows).substr(
        0, std::string(windows).rfind("/dosdevices/"));
    if (windows != nullptr)
        HeapFree(GetProcessHeap(), 0, windows);
    link_ = prefix + "/dosdevices/q:";
    mount_ = prefix + "/full-disk";
    done_ = prefix + "/full-disk.done";
    mounted_ = !prefix.empty() && shell("mkdir -p " + mount_ + " && mount -t tmpfs -o size=512k " +
                                        "tmpfs " + mount_ + " && ln -sfn " + mount_ + " " +
                                        link_) == 0;
}

bool FullDisk::fill(unsigned leftKb) const
{
    const std::string free = "$(df -k --output=avail " + mount_ + " | tail -1)";
    const std::string left = std::to_string(leftKb);
    // A disk filled to the last block refuses the end of the fill: what counts is what is left.
    return shell("head -c $(((" + free + " - " + left + ") * 1024)) /dev/zero >" + mount_ +
                 "/fill." + left + "; [ " + free + " -le " + left + " ]") == 0;
}

// Wine starts a Unix program as it is, but does not see it end: the shell tells it in a file.
int FullDisk::shell(const std::string& command) const
{
    DeleteFileA(("Z:" + done_).c_str());
    std::string line = "/bin/sh -c \"(" + command + "); echo $? > " + done_ + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 300 && readFile("Z:" + done_).empty(); ++i)
        Sleep(100);
    const std::string status = readFile("Z:" + done_);
    return status.empty() ? -1 : std::atoi(status.c_str());
}

HeldFile::HeldFile(const std::string& file, DWORD share, const std::string& trace, bool forGood)
    : file_(CreateFileA(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)),
      ended_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      releaser_([=] {
          const std::string waited = "waiting for " + file + ": held by another program";
          for (int i = 0; i < 600 && (forGood || !contains(logMessages(trace), waited)); ++i) {
              if (WaitForSingleObject(ended_, 100) == WAIT_OBJECT_0)
                  break;
          }
          CloseHandle(file_);
      })
{
}

HeldFile::~HeldFile()
{
    SetEvent(ended_);
    releaser_.join();
    CloseHandle(ended_);
}

} // namespace systemtest
