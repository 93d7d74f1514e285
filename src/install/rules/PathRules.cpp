#include "install/PathRules.h"

#include <cstdio>
#include <cstring>

#include "util/AsciiCase.h"

namespace {
constexpr size_t PathCopyLimit = 4999;
}

std::vector<std::string> pathEntriesEndingIn(const char* pathValue, const char* name)
{
    std::vector<std::string> found;
    if (pathValue == nullptr || name == nullptr)
        return found;
    std::string path = lowerAscii(pathValue);
    if (path.size() > PathCopyLimit)
        path.resize(PathCopyLimit);
    const std::string lowerName = lowerAscii(name);
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(';', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string entry = path.substr(start, end - start);
        if (!entry.empty()) {
            const size_t at = entry.find(lowerName);
            if (at != std::string::npos && at + lowerName.size() == entry.size())
                found.push_back(entry);
        }
        start = end + 1;
    }
    return found;
}

std::string logFolderName(const std::string& packageDir)
{
    std::string dir = packageDir;
    while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    const size_t separator = dir.find_last_of("\\/:");
    std::string name = separator == std::string::npos ? dir : dir.substr(separator + 1);
    if (name.empty())
        name = dir.substr(0, dir.find(':'));
    // D:\setup and E:\setup must not share one folder: a tag of the whole directory (FNV-1a,
    // in one letter case and one separator) follows the readable name.
    unsigned long tag = 2166136261UL;
    for (char c : lowerAscii(dir))
        tag = ((tag ^ static_cast<unsigned char>(c == '/' ? '\\' : c)) * 16777619UL) & 0xFFFFFFFFUL;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08lX", tag);
    return "qrv-" + name + "-" + hex;
}

bool refusesWrites(unsigned long error)
{
    // ERROR_ACCESS_DENIED and ERROR_WRITE_PROTECT, spelled out: this file stays free of windows.h.
    return error == 5 || error == 19;
}
