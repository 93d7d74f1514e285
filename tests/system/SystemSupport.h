// Shared by the system tests: the prefix's real registry made to look like a machine without
// JVMs for the length of a test, and environment settings for the launcher's children.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/TestSupport.h"

namespace systemtest {

inline const char* const WindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline const char* const JavaSoftKey = "SOFTWARE\\JavaSoft";

// Takes the real JavaSoft tree away for the test (a copy waits under HKEY_CURRENT_USER) and
// points the Program Files value at a scratch directory, so the JVM directory lands in the
// test's tree; both are put back afterwards.
class MachineWithoutJvms {
public:
    explicit MachineWithoutJvms(const std::string& programFiles)
    {
        backup_ = "Software\\QrvTests\\javasoft-backup-" + std::to_string(GetCurrentProcessId());
        HKEY existing = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, JavaSoftKey, 0, KEY_READ, &existing) ==
            ERROR_SUCCESS) {
            HKEY copy = nullptr;
            RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
            if (RegCreateKeyExA(HKEY_CURRENT_USER, backup_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &copy, nullptr) == ERROR_SUCCESS) {
                hadJavaSoft_ = RegCopyTreeA(existing, nullptr, copy) == ERROR_SUCCESS;
                RegCloseKey(copy);
            }
            RegCloseKey(existing);
        }
        if (hadJavaSoft_)
            qrvtest::deleteRegTree(HKEY_LOCAL_MACHINE, JavaSoftKey);
        hadProgramFiles_ =
            qrvtest::getRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", programFiles_);
        qrvtest::setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", programFiles);
    }

    ~MachineWithoutJvms()
    {
        if (hadProgramFiles_)
            qrvtest::setRegString(HKEY_LOCAL_MACHINE, WindowsKey, "ProgramFilesDir", programFiles_);
        qrvtest::deleteRegTree(HKEY_LOCAL_MACHINE, JavaSoftKey);
        if (hadJavaSoft_) {
            HKEY copy = nullptr;
            HKEY restored = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, backup_.c_str(), 0, KEY_READ, &copy) ==
                ERROR_SUCCESS) {
                if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, JavaSoftKey, 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &restored,
                                    nullptr) == ERROR_SUCCESS) {
                    RegCopyTreeA(copy, nullptr, restored);
                    RegCloseKey(restored);
                }
                RegCloseKey(copy);
            }
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
    }
    MachineWithoutJvms(const MachineWithoutJvms&) = delete;
    MachineWithoutJvms& operator=(const MachineWithoutJvms&) = delete;

private:
    std::string backup_;
    std::string programFiles_;
    bool hadJavaSoft_ = false;
    bool hadProgramFiles_ = false;
};

// Sets an environment variable for this process and the launcher it starts; restores it.
class EnvOverride {
public:
    EnvOverride(const std::string& name, const std::string& value) : name_(name)
    {
        const char* old = std::getenv(name.c_str());
        saved_ = old != nullptr ? old : "";
        _putenv((name + "=" + value).c_str());
    }
    ~EnvOverride() { _putenv((name_ + "=" + saved_).c_str()); }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string name_;
    std::string saved_;
};

} // namespace systemtest
