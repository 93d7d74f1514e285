#include "util/LongPath.h"

#include <windows.h>

#include "util/LongPathRules.h"
#include "util/Wide.h"

namespace {

std::wstring packageDirectory;

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
    return narrow(fullWidePath(widen(name)));
}

std::wstring longPath(const char* name)
{
    return long_path::extended(fullWidePath(widen(name)));
}

std::wstring longPath(const std::wstring& name)
{
    return long_path::extended(fullWidePath(name));
}
