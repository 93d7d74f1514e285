#include "util/Wide.h"

#include <cwchar>

std::wstring widen(const std::string& text, UINT codePage)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int count = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (count <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(count), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), count) != count)
        return {};
    return wide;
}

std::wstring widen(const char* text, UINT codePage)
{
    return text != nullptr ? widen(std::string(text), codePage) : std::wstring();
}

std::string narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string out(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), size, nullptr,
                            nullptr) != size)
        return {};
    return out;
}

std::string narrow(const wchar_t* text)
{
    return text != nullptr ? narrow(std::wstring(text)) : std::string();
}

namespace {
bool isAscii(const char* text)
{
    for (; *text != '\0'; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    }
    return true;
}
} // namespace

std::string toUtf8(const char* text)
{
    if (text == nullptr)
        return {};
    if (GetACP() == CP_UTF8 || isAscii(text))
        return text;
    std::string out;
    encodeExactly(widen(text).c_str(), CP_UTF8, out);
    return out;
}

std::string fromUtf8(const std::string& text, bool* lost)
{
    if (lost != nullptr)
        *lost = false;
    if (GetACP() == CP_UTF8 || text.empty())
        return text;
    // Where the code page is not UTF-8 (Windows before 1903, or without the setting): no
    // best-fit letters, and the default character is told.
    const std::wstring wide = widen(text, CP_UTF8);
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                         nullptr, 0, nullptr, &usedDefault);
    std::string out(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size <= 0 || WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                         out.data(), size, nullptr, &usedDefault) != size) {
        out.clear();
        usedDefault = TRUE;
    }
    if (lost != nullptr)
        *lost = usedDefault != FALSE;
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
