#include "ui/Status.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/Language.h"
#include "ui/Globals.h"
#include "ui/StatusTexts.h"

namespace {
constexpr const char* ShowDialogFilename = "__qrvshow.sem";
constexpr const char* InfoCaption = "Quorvan Installer";
constexpr const char* ErrorCaption = "Quorvan Installer: Error";

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
    MessageBoxA(nullptr, text, InfoCaption, MB_ICONEXCLAMATION | MB_OK);
}

void Status::showError(const char* message, const char* details)
{
    const std::string text = composeErrorText(message, details, language.c_str());
    if (quietMode)
        return;
    // The status dialog goes away while the box is up (the main thread watches this file).
    removeShowDialogFile();
    MessageBoxA(nullptr, text.c_str(), ErrorCaption, MB_ICONHAND | MB_SYSTEMMODAL | MB_OK);
}
