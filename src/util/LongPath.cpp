#include "util/LongPath.h"

#include <windows.h>

#include "util/LongPathRules.h"
#include "util/Wide.h"

namespace {

std::wstring packageDirectory;

// `name` in UTF-16; empty where a byte is no character of the program's code page (invalid
// UTF-8): turned into U+FFFD it would name another file, the same for every such name.
std::wstring exactWide(const char* name)
{
    const int count = name != nullptr
                          ? MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0)
                          : 0;
    if (count <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(count), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wide.data(), count) != count)
        return {};
    wide.resize(static_cast<size_t>(count) - 1);
    return wide;
}

// `name` resolved by the system, without the "\\?\" form.
std::wstring fullWidePath(std::wstring wide)
{
    if (wide.empty())
        return {};
    if (long_path::isRelative(wide) && !packageDirectory.empty())
        wide = packageDirectory + L"\\" + wide;
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    return full;
}

} // namespace

void setPackageDirectory(const char* dir)
{
    packageDirectory = widen(dir);
}

std::string fullPathOf(const char* name)
{
    return narrow(fullWidePath(exactWide(name)));
}

std::wstring longPath(const char* name)
{
    return long_path::extended(fullWidePath(exactWide(name)));
}

std::wstring longPath(const std::wstring& name)
{
    return long_path::extended(fullWidePath(name));
}
