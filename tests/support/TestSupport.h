// Shared test fixtures: a private working directory, scratch registry roots, file helpers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrvtest {

// A fresh directory under the temporary directory that becomes the current directory for the
// test's lifetime; removed with everything in it afterwards, the old current directory restored.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // `path()` joined with a relative name by a backslash.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    std::string saved_;
};

// Maps HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process to fresh scratch keys, and back
// (deleting the scratch keys) at the end.
class RegistryOverride {
public:
    RegistryOverride();
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;

    // The scratch key under the real HKEY_CURRENT_USER; "\\HKLM" and "\\HKCU" below it stand
    // for the two roots, so a child process can write where this process reads.
    const std::string& root() const { return root_; }

private:
    std::string root_;
    HKEY machine_ = nullptr;
    HKEY user_ = nullptr;
};

// Fixture for tests that work in their own directory.
class InTempDir : public ::testing::Test {
protected:
    TempDir dir;
};

// Fixture for tests that also need a private registry.
class InTempDirWithRegistry : public ::testing::Test {
protected:
    TempDir dir;
    RegistryOverride registry;
};

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
// The file as a text-mode reader sees it: CR LF line ends read as LF.
std::string readTextFile(const std::string& path);
bool exists(const std::string& path);
std::vector<std::string> readLines(const std::string& path);
// A log line without its 24-character time stamp and the blank after it.
std::string stripTimeStamp(const std::string& line);
// The message parts of every line of a log file.
std::vector<std::string> logMessages(const std::string& path);

// Directory of the running test program; the built programs and stand-ins lie beside it.
std::string programDir();
// Full path of a built program beside the test program ("setup.exe", a stand-in, ...).
std::string builtProgram(const std::string& name);

// Result of a child run.
struct RunResult {
    bool started = false;
    bool finished = false;  // false when the time limit ran out and the child was killed
    DWORD exitCode = 0;
};
// Starts `commandLine` in `workDir` and waits at most `timeoutMs`.
RunResult runProgram(const std::string& commandLine, const std::string& workDir,
                     DWORD timeoutMs = 60000);

// Registry helpers on the real or overridden predefined keys.
void setRegString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value);
bool getRegString(HKEY root, const std::string& key, const std::string& name, std::string& value);
void deleteRegTree(HKEY root, const std::string& key);

} // namespace qrvtest
