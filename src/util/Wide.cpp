#include "util/Wide.h"

#include <cwchar>

std::wstring widen(const char* text)
{
    if (text == nullptr || *text == '\0')
        return {};
    const int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(count), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), count) != count)
        return {};
    wide.resize(static_cast<size_t>(count) - 1);
    return wide;
}

std::string narrow(const wchar_t* text)
{
    if (text == nullptr || *text == L'\0')
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string out(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr) != size)
        return {};
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

UINT legacyCodePage()
{
    wchar_t digits[8] = L"";
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits,
                       sizeof digits / sizeof digits[0]) <= 0)
        return GetACP();
    const UINT codePage = static_cast<UINT>(wcstoul(digits, nullptr, 10));
    // "0" is what a locale with no ANSI code page of its own reports.
    return codePage != 0 ? codePage : GetACP();
}

bool encodeExactly(const wchar_t* text, UINT codePage, std::string& out)
{
    out.clear();
    if (text == nullptr || *text == L'\0')
        return true;
    // The UTF code pages hold every character and refuse the "used default" flag.
    const bool utf = codePage == CP_UTF8 || codePage == CP_UTF7;
    const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const usedDefaultOut = utf ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, text, -1, nullptr, 0, nullptr,
                                         usedDefaultOut);
    if (size <= 0 || usedDefault)
        return false;
    std::string encoded(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, text, -1, encoded.data(), size, nullptr,
                            usedDefaultOut) != size || usedDefault)
        return false;
    encoded.resize(static_cast<size_t>(size) - 1);
    out = std::move(encoded);
    return true;
}
