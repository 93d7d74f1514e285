// Shared by the stand-in programs: where they lie, their key=value settings files, and the one
// record format in which every stand-in notes each start (the tests read it with
// qrvtest::recordedStarts):
//   start
//   cwd=<current directory>
//   program=<argv[0]>
//   arg=<argument>        one line per argument after argv[0]
//   <name>=<text>         what a stand-in notes besides (the JVM's native= and changes= lines)
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace standin {

// In the program's code page, by its short name where that code page lacks the path's letters: as
// Windows gives it to a program started by its short name (Wine gives the long one, with "?"s).
inline std::string ownPath()
{
    wchar_t path[MAX_PATH * 4];
    char narrow[MAX_PATH * 4] = "";
    BOOL lossy = FALSE;
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (length > 0 && length < MAX_PATH * 4)
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, narrow, sizeof narrow,
                            nullptr, &lossy);
    const DWORD shortLength = lossy ? GetShortPathNameW(path, path, MAX_PATH * 4) : 0;
    if (shortLength > 0 && shortLength < MAX_PATH * 4)
        WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof narrow, nullptr, nullptr);
    // Wine 8 names a program started from a share "UNC\server\share\...".
    if (std::string(narrow).rfind("UNC\\", 0) == 0)
        return "\\" + std::string(narrow + 3);
    return narrow;
}

inline std::string ownDirectory()
{
    const std::string path = ownPath();
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The program's full path without its extension: a copy names its files after itself.
inline std::string ownBase()
{
    std::string base = ownPath();
    const size_t dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > base.find_last_of('\\'))
        base.erase(dot);
    return base;
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

inline bool writeText(const std::string& path, const std::string& text,
                      const char* mode = "wt")
{
    FILE* out = std::fopen(path.c_str(), mode);
    if (out == nullptr)
        return false;
    const bool written = std::fputs(text.c_str(), out) >= 0;
    return std::fclose(out) == 0 && written;
}

// A kill point: the first start that reaches it writes the file `signal` and waits there for
// good (the test then ends the whole Wine session, as a power loss would); every later start
// goes on. Without a signal file named, nothing happens.
inline void killPoint(const std::string& signal)
{
    if (signal.empty() || GetFileAttributesA(signal.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    writeText(signal, "");
    Sleep(INFINITE);
}

// This start's block of the record.
inline std::string startRecord(int argc, char** argv)
{
    std::string text = "start\ncwd=" + currentDirectory() + "\n";
    for (int i = 0; i < argc; ++i)
        text += std::string(i == 0 ? "program=" : "arg=") + argv[i] + "\n";
    return text;
}

// Appends this start's block to the record `file`.
inline bool record(const std::string& file, int argc, char** argv)
{
    return writeText(file, startRecord(argc, argv), "at");
}

} // namespace standin
