// What this run wrote to set up a packaged JVM: the registry keys it created, the values it
// wrote (with what they held before), the files it copied into the Windows directory and the
// JVM directory it made. A JVM that fails its final check, or whose installation failed half
// way, has exactly that taken back, so that no later search meets a JVM that does not work.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RunChanges {
public:
    // Before HKLM\`key` is created: notes it when it does not exist yet.
    void beforeKeyCreated(const char* key);
    // Before `name` is written in the open key `handle` (HKLM\`key`): notes what it held.
    void beforeValueWritten(HKEY handle, const char* key, const char* name);
    // A file this run created where none was.
    void fileCreated(const char* path) { files_.push_back(path); }
    // The directory this run made for the JVM; set once, the outermost level it made.
    void jvmDirCreated(const std::string& dir);

    // Whether anything was written to the registry.
    bool registered() const { return !values_.empty() || !keys_.empty(); }
    // Takes back everything noted, the latest first, and forgets it. The JVM directory is
    // removed only when `removeJvmDir`. False when something could not be taken back.
    bool takeBack(bool removeJvmDir);
    // Keeps what was written: the JVM passed.
    void keep();

private:
    struct Value {
        std::string key;
        std::string name;
        bool existed = false;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    std::vector<std::string> keys_;
    std::vector<Value> values_;
    std::vector<std::string> files_;
    std::string jvmDir_;
};
