#include "ui/Status.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/Language.h"
#include "ui/Globals.h"
#include "ui/StatusTexts.h"
#include "util/Wide.h"

namespace {
constexpr const char* ShowDialogFilename = "__qrvshow.sem";
constexpr const wchar_t* InfoCaption = L"Quorvan Installer";
constexpr const wchar_t* ErrorCaption = L"Quorvan Installer: Error";

// Takes the status dialog down. The full path that the entry point built is used when there is
// one, since a JVM expansion may have moved the current directory away from the package.
void removeShowDialogFile()
{
    std::remove(showDialogFilename[0] != '\0' ? showDialogFilename : ShowDialogFilename);
}
} // namespace

Status::Status() : language(1000)
{
    getLanguage(language.data());
}

// Empty on purpose: the status dialog keeps its one text for the whole run, and the step texts
// go to the trace only.
void Status::showStatus(const char*) {}

void Status::showStatus(unsigned) {}

void Status::showMessage(const char* text)
{
    removeShowDialogFile();
    MessageBoxW(nullptr, widen(text).c_str(), InfoCaption, MB_ICONEXCLAMATION | MB_OK);
}

void Status::showError(const char* message, const char* details)
{
    // Composed in UTF-8, the language's texts being UTF-8, and shown wide: every letter
    // appears whatever the code page.
    const std::string text = composeErrorText(toUtf8(message).c_str(), toUtf8(details).c_str(),
                                              language.c_str());
    if (quietMode)
        return;
    // The status dialog goes away while the box is up (the main thread watches this file).
    removeShowDialogFile();
    MessageBoxW(nullptr, widen(text.c_str(), CP_UTF8).c_str(), ErrorCaption,
                MB_ICONHAND | MB_SYSTEMMODAL | MB_OK);
}
