#include "util/DiskSpace.h"

#include <windows.h>

#include "util/LongPath.h"
#include "util/Wide.h"

namespace {

VolumeSpace spaceOf(const std::string& folder)
{
    VolumeSpace space;
    const std::wstring path = longPath(folder.c_str());
    wchar_t root[MAX_PATH + 1] = L"";
    if (path.empty() || !GetVolumePathNameW(path.c_str(), root, MAX_PATH))
        return space;
    space.root = narrow(root);
    if (space.root.compare(0, 4, "\\\\?\\") == 0)
        space.root.erase(0, 4);
    ULARGE_INTEGER available;
    space.known = GetDiskFreeSpaceExW(root, &available, nullptr, nullptr) != 0;
    space.freeBytes = space.known ? available.QuadPart : 0;
    return space;
}

} // namespace

std::string freeSpaceLine(const std::vector<std::string>& folders)
{
    std::vector<VolumeSpace> volumes;
    for (const std::string& folder : folders) {
        if (!folder.empty())
            volumes.push_back(spaceOf(folder));
    }
    return freeSpaceText(volumes);
}

bool isDiskFull(unsigned long error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

std::string diskFullReason(const char* path)
{
    if (!isDiskFull(GetLastError()))
        return {};
    const std::string full = fullPathOf(path);
    const size_t slash = full.find_last_of('\\');
    return diskFullText(slash == std::string::npos ? full : full.substr(0, slash));
}
