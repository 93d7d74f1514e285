// Shared test fixtures: a private working directory, scratch registry roots, file, registry and
// environment helpers, and the reader of the stand-in programs' records. Set-up helpers fail the
// running test with the path and the error when they cannot do their job.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
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

// Sets an environment variable for this process and the programs it starts (an empty value
// removes it); the old value, or its absence, comes back at the end.
class EnvOverride {
public:
    EnvOverride(const std::string& name, const std::string& value);
    ~EnvOverride();
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string name_;
    std::string saved_;
    bool had_ = false;
};

// Runs `undo` when it goes out of scope: also when a fatal assertion leaves the test early.
class AtScopeEnd {
public:
    explicit AtScopeEnd(std::function<void()> undo) : undo_(std::move(undo)) {}
    ~AtScopeEnd() { undo_(); }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

private:
    std::function<void()> undo_;
};

// `path` as the wide file interfaces take it at any length: an absolute path of 248 characters or
// more in the "\\?\" form. The file helpers below take deep trees so.
std::wstring wideName(const std::string& path);
// The short (8.3) form of an existing path; empty when it has none.
std::string shortPathOf(const std::string& path);

void writeFile(const std::string& path, const std::string& content);
// CopyFileA, overwriting.
void copyFile(const std::string& from, const std::string& to);
// The directory and any missing parents.
void makeDirs(const std::string& path);
std::string readFile(const std::string& path);
// The file as a text-mode reader sees it: CR LF line ends read as LF.
std::string readTextFile(const std::string& path);
bool exists(const std::string& path);
std::vector<std::string> readLines(const std::string& path);
// An empty trace log (jinstall.log) in `dir`, the current directory when empty: the launcher
// traces only into a trace log that exists, as a user who wants one creates it.
void createTraceLog(const std::string& dir = "");
// How often `line` is one of `lines`.
size_t count(const std::vector<std::string>& lines, const std::string& line);
// `text` with its ASCII letters lowered; with its backslashes turned into slashes.
std::string lower(std::string text);
std::string forwardSlashes(std::string text);
// The Windows directory ("C:\windows" under Wine).
std::string windowsDirectory();
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
// Starts `commandLine` in `workDir` with the creation `flags` and waits at most `timeoutMs`.
RunResult runProgram(const std::string& commandLine, const std::string& workDir,
                     DWORD timeoutMs = 60000, DWORD flags = 0);

// Whether the process `pid` is gone (or ends within a few seconds: one that was just
// terminated may still be on its way out).
bool processGone(DWORD pid);
// Polls `done` until it holds or `limitMs` have passed; its last answer.
bool waitUntil(const std::function<bool()>& done, DWORD limitMs);

// Makes `link` a Unix symbolic link to the existing `target` (both Windows paths), the link
// Wine can make: Windows programs see it as what it leads to. False where this is not Wine (or the
// link cannot be made); the caller then skips.
bool makeUnixLink(const std::string& link, const std::string& target);
// `path`'s Unix name (Wine's own mapping) in single quotes, for a shell script.
std::string quotedUnixName(const std::string& path);
// TEMP of this process, with its backslash.
std::string tempDirectory();
// A machine change by one Unix script, undone by another in every outcome (each waited for).
class UnixChange {
public:
    UnixChange(const std::string& make, std::string undo);
    ~UnixChange();
    UnixChange(const UnixChange&) = delete;
    UnixChange& operator=(const UnixChange&) = delete;
    bool made() const { return made_; }

private:
    std::string undo_;
    bool made_;
};
// `dir` unwritable for the owner's lifetime (the Unix immutable flag, which binds root too), and
// writable again on every path out. `made()` is false where this is not Wine or the flag does
// not take: the caller then skips.
class UnwritableDir : public UnixChange {
public:
    explicit UnwritableDir(const std::string& dir);
    bool made() const { return UnixChange::made() && unwritable_; }

private:
    bool unwritable_;
};

// Registry helpers on the real or overridden predefined keys.
void setRegString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value);
bool getRegString(HKEY root, const std::string& key, const std::string& name, std::string& value);
// Removes the key with everything below it; a key that is not there is no failure.
void deleteRegTree(HKEY root, const std::string& key);
bool keyExists(const std::string& key, HKEY root = HKEY_LOCAL_MACHINE);

// The record that every stand-in program appends one block to per start:
//   start
//   cwd=<its current directory>
//   program=<argv[0]>
//   arg=<argument>          one line per argument after argv[0]
//   <name>=<text>           what the stand-in noted besides (native=..., changes=...)
// Each start as its lines after "start"; none when the record file is not there.
using RecordedStart = std::vector<std::string>;
std::vector<RecordedStart> recordedStarts(const std::string& recordFile);
// The texts of a start's lines that begin with `prefix` ("arg=", "native=", ...), without it.
std::vector<std::string> linesStartingWith(const RecordedStart& lines, const std::string& prefix);
// The lines of one start, as the stand-in writes them.
RecordedStart startLines(const std::string& cwd, const std::vector<std::string>& argv);

} // namespace qrvtest
