#include "util/PathIdentity.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "util/Capacity.h"
#include "util/Handle.h"
#include "util/IdentityRules.h"
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

// What the system tells of the identity of `path`; false when it cannot be opened.
bool identityFacts(const char* path, IdentityFacts& facts)
{
    const Handle file(openForQuery(path));
    if (!file.valid())
        return false;
    // The 128-bit id (Windows 8 and later; ReFS has no 64-bit index of its own), asked for
    // through a function that Windows XP lacks.
    struct {
        ULONGLONG volume;
        BYTE id[16];
    } idInfo;
    const auto fileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);  // FileIdInfo
    const auto query = reinterpret_cast<decltype(&GetFileInformationByHandleEx)>(
        reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx")));
    if (query != nullptr && query(file.get(), fileIdInfo, &idInfo, sizeof idInfo)) {
        facts.idRead = true;
        facts.idVolume = idInfo.volume;
        std::memcpy(facts.id, idInfo.id, sizeof facts.id);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file.get(), &info)) {
        facts.indexRead = true;
        facts.volume = info.dwVolumeSerialNumber;
        facts.index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) |
                      info.nFileIndexLow;
    }
    return true;
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
    IdentityFacts one;
    IdentityFacts other;
    return identityFacts(a, one) && identityFacts(b, other) && sameIdentity(one, other);
}

std::string fileIdentity(const char* path)
{
    IdentityFacts facts;
    return identityFacts(path, facts) ? identityText(facts) : std::string();
}
