// Shared by the stand-ins that install a JVM: settings files and the layout of a stand-in JVM
// tree (the stand-in JVM program under its launcher names, a runtime library, security).
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace standin {

inline std::string ownDirectory()
{
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length < sizeof path ? length : 0);
    const size_t slash = text.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

inline std::string currentDirectory()
{
    char cwd[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryA(sizeof cwd, cwd);
    return length > 0 && length < sizeof cwd ? std::string(cwd) : std::string();
}

// The value of `key` in a file of key=value lines, or `fallback`.
inline std::string setting(const std::string& file, const char* key, const char* fallback)
{
    std::string value = fallback;
    FILE* in = std::fopen(file.c_str(), "rt");
    if (in == nullptr)
        return value;
    char line[4096];
    const size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, in) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == '=')
            value = line + keyLength + 1;
    }
    std::fclose(in);
    return value;
}

inline void writeText(const std::string& path, const std::string& text)
{
    if (FILE* out = std::fopen(path.c_str(), "wt")) {
        std::fputs(text.c_str(), out);
        std::fclose(out);
    }
}

// Lays out a stand-in JVM of `version` below `root`:
//   layout "bin": bin\java.exe and bin\javaw.exe; "jre": jre\bin\...; "old": bin\jre.exe and
//   bin\jrew.exe; "flat": java.exe and javaw.exe directly in `root`.
// The programs are copies of the stand-in JVM `jvmProgram`, configured to pass the test run.
inline bool layOutJvm(const std::string& root, const std::string& jvmProgram,
                      const std::string& version, const std::string& layout)
{
    std::string home = root;
    if (layout == "jre") {
        home += "\\jre";
        CreateDirectoryA(home.c_str(), nullptr);
    }
    std::string bin = layout == "flat" ? home : home + "\\bin";
    CreateDirectoryA(bin.c_str(), nullptr);
    const bool old = layout == "old";
    const char* const names[] = {old ? "jre.exe" : "java.exe", old ? "jrew.exe" : "javaw.exe"};
    for (const char* name : names) {
        if (!CopyFileA(jvmProgram.c_str(), (bin + "\\" + name).c_str(), FALSE))
            return false;
    }
    writeText(bin + "\\fakejvm.ini", "version=" + version + "\ntestrun=good\nwizard=create\n");
    // The runtime library beside the programs is the one they load first: a copy of the
    // system's own keeps the stand-in JVM startable, as the real file does for a real JVM.
    char system[MAX_PATH * 4];
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system ||
        !CopyFileA((std::string(system) + "\\msvcrt.dll").c_str(), (bin + "\\msvcrt.dll").c_str(),
                   FALSE))
        return false;
    CreateDirectoryA((home + "\\lib").c_str(), nullptr);
    CreateDirectoryA((home + "\\lib\\security").c_str(), nullptr);
    writeText(home + "\\lib\\security\\java.security",
              "security.provider.1=sun.security.provider.Sun\n"
              "identity.database=${java.home}/lib/security/identitydb.obj\n");
    return true;
}

inline void record(const std::string& file, int argc, char** argv)
{
    if (FILE* out = std::fopen(file.c_str(), "at")) {
        std::fprintf(out, "start\ncwd=%s\n", currentDirectory().c_str());
        for (int i = 1; i < argc; ++i)
            std::fprintf(out, "arg=%s\n", argv[i]);
        std::fclose(out);
    }
}

} // namespace standin
