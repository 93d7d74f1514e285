// Shared by the system tests, which run the built launcher as a child against the prefix's real
// registry: machine keys saved and put back exactly, the machine made to look as if it had no
// JVMs, JVM keys written for a test, and snapshots of directory trees. The helpers that unit
// tests share as well (files, registry values, environment, stand-in records) are in
// support/TestSupport.h.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"

namespace systemtest {

inline const char* const WindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline const char* const JavaSoftKey = "SOFTWARE\\JavaSoft";
inline const char* const JavaSoft32Key = "SOFTWARE\\Wow6432Node\\JavaSoft";
inline const char* const JreKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";

// A key of HKEY_LOCAL_MACHINE (or of `root`) with everything below it, copied aside (under
// HKEY_CURRENT_USER) for the owner's lifetime and put back exactly as it was afterwards: removed
// when it was not there. `Emptied` takes the key away for the test. A key that cannot be saved is
// left alone (and the test fails), so a failed save never loses the machine's keys.
class SavedKey {
public:
    enum Start { Kept, Emptied };
    explicit SavedKey(const std::string& key, Start start = Kept,
                      HKEY root = HKEY_LOCAL_MACHINE);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    HKEY root_;
    std::string key_;
    std::string backup_;
    bool existed_ = false;
    bool saved_ = false;
};

// A string value of HKEY_LOCAL_MACHINE set for the owner's lifetime; the old value comes back
// (or the value goes again when there was none).
class SavedValue {
public:
    SavedValue(const std::string& key, const std::string& name, const std::string& value);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    std::string key_;
    std::string name_;
    std::string old_;
    bool had_ = false;
};

// The keys under which the JVM distributions other than the JavaSoft ones register, in the
// machine's 64-bit view (the 32-bit view and the user's keys are below the same names).
inline const char* const DistributionKeys[] = {
    "SOFTWARE\\Eclipse Adoptium", "SOFTWARE\\AdoptOpenJDK", "SOFTWARE\\Eclipse Foundation",
    "SOFTWARE\\Semeru",           "SOFTWARE\\Microsoft\\JDK", "SOFTWARE\\Azul Systems",
    "SOFTWARE\\BellSoft",         "SOFTWARE\\SapMachine",
};

// A machine without JVMs for the test's time: no JavaSoft keys in either registry view, and no
// distribution's keys in either view nor the user's. With `programFiles`, the Program Files
// value points there, so a JVM directory chosen by the launcher lands in the test's tree.
class MachineWithoutJvms {
public:
    explicit MachineWithoutJvms(const std::string& programFiles = "");
    MachineWithoutJvms(const MachineWithoutJvms&) = delete;
    MachineWithoutJvms& operator=(const MachineWithoutJvms&) = delete;

private:
    SavedKey javaSoft_{JavaSoftKey, SavedKey::Emptied};
    SavedKey javaSoft32_{JavaSoft32Key, SavedKey::Emptied};
    std::vector<std::unique_ptr<SavedKey>> distributions_;
    std::optional<SavedValue> programFiles_;
};

// JVM version keys written under the runtime key of the real registry for the test's time; the
// JavaSoft tree is put back exactly afterwards, whatever the test or the launcher wrote there.
class JvmKeys {
public:
    JvmKeys() = default;
    // One JVM registered: `version`'s key with JavaHome = `home`.
    JvmKeys(const std::string& version, const std::string& home);
    ~JvmKeys() { closeAll(); }
    JvmKeys(const JvmKeys&) = delete;
    JvmKeys& operator=(const JvmKeys&) = delete;

    // The version key, created when missing and open until closeAll; null (and the test fails)
    // when it cannot be created.
    HKEY version(const std::string& name);
    void setString(const std::string& version, const char* value, const std::string& text);
    // Any type and size, for values that the launcher must survive.
    static void setRaw(HKEY key, const char* value, DWORD type, const void* data, size_t size);
    void closeAll();

private:
    SavedKey javaSoft_{JavaSoftKey};
    std::vector<HKEY> keys_;
};

// What a snapshot of a tree holds for each entry: its name only, or also its size and its
// attributes (the archive bit left out).
enum class TreeView { Names, NamesSizesAttributes };
// Every file and directory under `dir`, as its path relative to `dir`, sorted.
std::vector<std::string> treeOf(const std::string& dir, TreeView view = TreeView::Names);


// The folder under TEMP that takes the logs of the unwritable package directory `packageDir`,
// emptied of an earlier run's logs.
std::string freshLogFolder(const std::string& packageDir);

// A small disk (512 KB of tmpfs) as drive Q: of this prefix, unmounted however the test ends
// (tests/system/own-prefix unmounts what a crashed program left).
class FullDisk {
public:
    FullDisk();
    ~FullDisk() { shell("rm -f " + link_ + "; umount " + mount_ + "; rmdir " + mount_); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool mounted() const { return mounted_; }
    // Fills the disk so that about `leftKb` kilobytes stay free.
    bool fill(unsigned leftKb) const;

private:
    // Runs `command` in the Unix shell; its exit status.
    int shell(const std::string& command) const;

    std::string mount_, done_, link_;
    bool mounted_ = false;
};

// A file held as a scanner holds it (others may do `share` only) from now until the trace
// `trace` shows the run's first wait for it, or with `forGood` until the owner goes.
class HeldFile {
public:
    HeldFile(const std::string& file, DWORD share, const std::string& trace, bool forGood);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
    HANDLE file_;
    HANDLE ended_;
    std::thread releaser_;
};

} // namespace systemtest
