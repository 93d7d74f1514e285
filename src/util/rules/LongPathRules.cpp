#include "util/LongPathRules.h"

namespace long_path {

namespace {
bool startsWith(const std::wstring& text, const wchar_t* start)
{
    return text.compare(0, std::wstring(start).size(), start) == 0;
}
bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}
} // namespace

bool isRelative(const std::wstring& name)
{
    return !name.empty() && !isSeparator(name[0]) && !(name.size() >= 2 && name[1] == L':');
}

std::wstring extended(const std::wstring& fullPath)
{
    if (fullPath.size() <= PlainLimit || startsWith(fullPath, L"\\\\?\\") ||
        startsWith(fullPath, L"\\\\.\\"))
        return fullPath;
    if (startsWith(fullPath, L"\\\\"))
        return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

} // namespace long_path
