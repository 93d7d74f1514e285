#include "util/CleanupCopies.h"

#include <windows.h>

#include "util/LongPathRules.h"

namespace {
constexpr const wchar_t* CopyPrefix = L"qrvcleanup-";
constexpr int NameAttempts = 100;

// TEMP with its trailing backslash; empty when it cannot be had.
std::wstring tempDirectory()
{
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        return std::wstring();
    std::wstring dir(buffer, length);
    if (dir.back() != L'\\')
        dir += L'\\';
    return dir;
}
} // namespace

std::wstring makeCleanupCopy(const std::wstring& self)
{
    const std::wstring temp = tempDirectory();
    if (temp.empty())
        return std::wstring();
    // A new name each time: the process id and a tick count, then a count on collisions.
    const unsigned long seed = GetCurrentProcessId() * 65536ul + (GetTickCount() & 0xffff);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::wstring copy = temp + CopyPrefix + std::to_wstring(seed + attempt) + L".exe";
        const std::wstring target = long_path::extended(copy);
        if (CopyFileW(long_path::extended(self).c_str(), target.c_str(), TRUE)) {
            const DWORD attributes = GetFileAttributesW(target.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            return copy;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return std::wstring();
    }
    return std::wstring();
}

void removeCleanupCopies()
{
    const std::wstring temp = tempDirectory();
    if (temp.empty())
        return;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((temp + CopyPrefix + L"*.exe").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const std::wstring path = temp + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(path.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}
