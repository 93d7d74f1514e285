#include "util/PathIdentity.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "util/Capacity.h"
#include "util/Handle.h"
#include "util/LongPath.h"

namespace {

// A handle for asking about a file or directory, without any access to its content; shared
// with every other user so that it never stands in anybody's way.
HANDLE openForQuery(const char* path)
{
    if (path == nullptr || *path == '\0')
        return INVALID_HANDLE_VALUE;
    return CreateFileW(longPath(path).c_str(), 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool identityOf(const char* path, BY_HANDLE_FILE_INFORMATION& info)
{
    const Handle file(openForQuery(path));
    return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

} // namespace

std::string finalPath(const char* path)
{
    const Handle file(openForQuery(path));
    if (!file.valid())
        return std::string();
    std::vector<char> buffer(PathCapacity);
    const DWORD length =
        GetFinalPathNameByHandleA(file.get(), buffer.data(), PathCapacity, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= PathCapacity)
        return std::string();
    std::string result(buffer.data(), length);
    if (result.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\" + result.substr(7);
    if (result.compare(0, 4, "\\\\?\\") == 0)
        return result.substr(4);
    return result;
}

bool sameFileObject(const char* a, const char* b)
{
    BY_HANDLE_FILE_INFORMATION one;
    BY_HANDLE_FILE_INFORMATION other;
    if (!identityOf(a, one) || !identityOf(b, other))
        return false;
    return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

std::string fileIdentity(const char* path)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!identityOf(path, info))
        return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%08lX-%08lX%08lX", info.dwVolumeSerialNumber,
                  info.nFileIndexHigh, info.nFileIndexLow);
    return text;
}
