#include "ui/Language.h"

#include "ui/LanguageRules.h"
#include "util/File.h"
#include "util/Registry.h"
#include "util/TextBuffer.h"
#include "util/fexists.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr const char* LocaleLogFilename = "locale.log";
constexpr const char* InternationalKey = "Control Panel\\International";
constexpr const char* LocaleNameField = "LocaleName";
constexpr unsigned LanguageCapacity = 1000;
constexpr size_t LocaleNameCapacity = 201;
constexpr const char* WindowFontProp = "qrvWindowFont";
constexpr const char* ItemFontProp = "qrvItemFont";

// Reads the locale name; empty when the key or value is missing, unreadable or too long.
void readLocaleName(char* out, size_t capacity)
{
    // Any type: the locale name has always been read without looking at the value's type.
    if (readRegText(HKEY_CURRENT_USER, InternationalKey, LocaleNameField, out, capacity,
                    RegType::Any) != RegRead::Whole)
        out[0] = '\0';
}

bool isJapanese(const char* language)
{
    return language != nullptr && lowerAscii(language) == "japanese";
}

// A 16-point Shift-JIS font of the roman family, sized for `dc`; the caller owns it.
HFONT createShiftJisFont(HDC dc)
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -MulDiv(16, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = FF_ROMAN;
    return CreateFontIndirectA(&font);
}

// Hands a new Shift-JIS font to `target` and keeps it on `owner` under `prop`, so that it stays
// alive as long as the window uses it; a font attached before is released.
void attachShiftJisFont(HWND owner, HWND target, const char* prop)
{
    if (owner == nullptr || target == nullptr)
        return;
    HDC dc = GetDC(target);
    if (dc == nullptr)
        return;
    HFONT font = createShiftJisFont(dc);
    ReleaseDC(target, dc);
    if (font == nullptr)
        return;
    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HANDLE previous = RemovePropA(owner, prop);
    if (!SetPropA(owner, prop, font)) {
        // Without a place to keep it the font cannot be released later; go without it.
        SendMessageA(target, WM_SETFONT, 0, TRUE);
        DeleteObject(font);
        return;
    }
    if (previous != nullptr)
        DeleteObject(static_cast<HGDIOBJ>(previous));
}
} // namespace

void logLocaleMsg(const char* message, const char* localeName, const char* language)
{
    if (!fexists(LocaleLogFilename))
        return;
    const File file(LocaleLogFilename, "at");
    if (file)
        std::fprintf(file.get(), "%s locale: %s language: %s\n", message, localeName, language);
}

char* getLanguage(char* language)
{
    language[0] = '\0';
    char localeName[LocaleNameCapacity];
    readLocaleName(localeName, LocaleNameCapacity);
    if (localeName[0] != '\0') {
        const std::string lower = lowerAscii(localeName);
        const LanguageMatch match = recogniseLanguage(lower.c_str());
        copyText(language, LanguageCapacity, match.key);
        logLocaleMsg(match.logMessage, lower.c_str(), language);
        logLocaleMsg("getLang", localeName, language);
    }
    if (language[0] == '\0')
        copyText(language, LanguageCapacity, "english");
    return language;
}

void selectControlIdCharType(HWND dialog, int controlId, const char* language)
{
    if (!isJapanese(language))
        return;
    attachShiftJisFont(dialog, GetDlgItem(dialog, controlId), ItemFontProp);
}

void setWindowCharType(HWND window)
{
    char language[LanguageCapacity];
    getLanguage(language);
    if (!isJapanese(language))
        return;
    attachShiftJisFont(window, window, WindowFontProp);
}

void releaseCharTypeFonts(HWND window)
{
    for (const char* prop : {WindowFontProp, ItemFontProp}) {
        HANDLE font = RemovePropA(window, prop);
        if (font != nullptr)
            DeleteObject(static_cast<HGDIOBJ>(font));
    }
}
