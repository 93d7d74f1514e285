// The user's language, read from the locale setting in the registry on every call, and the
// Shift-JIS font step for Japanese.
#pragma once

#include <windows.h>

// Writes the language key ("english", "french", ...) into `language` (capacity 1000) and
// returns it. Reads HKCU "Control Panel\International" "LocaleName"; anything unreadable gives
// "english".
char* getLanguage(char* language);

// For the key "japanese" (any case) gives dialog item `controlId` of `dialog` a Shift-JIS font,
// owned by the dialog and released by releaseCharTypeFonts. Other keys change nothing.
void selectControlIdCharType(HWND dialog, int controlId, const char* language);
// The same for a whole window, for the user's current language.
void setWindowCharType(HWND window);
// Deletes the fonts that the two steps above attached to `window`; call when it is destroyed.
void releaseCharTypeFonts(HWND window);

// One line of "locale.log", written only while that file exists.
void logLocaleMsg(const char* message, const char* localeName, const char* language);
