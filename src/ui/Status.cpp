#include "ui/Status.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/Language.h"
#include "ui/Globals.h"
#include "ui/StatusTexts.h"
#include "util/Wide.h"
#include "util/clib.h"

namespace {
constexpr const char* ShowDialogFilename = "__qrvshow.sem";
constexpr const char* InfoCaption = "Quorvan Installer";
constexpr const char* ErrorCaption = "Quorvan Installer: Error";

// Takes the status dialog down. The full path that the entry point built is used when there is
// one, since a JVM expansion may have moved the current directory away from the package.
void removeShowDialogFile()
{
    removeFile(showDialogFilename[0] != '\0' ? showDialogFilename : ShowDialogFilename);
}

std::string caption(const std::string& productName, const char* ownCaption, bool error)
{
    return productName.empty() ? ownCaption
                               : productName + " Installer" + (error ? ": Error" : "");
}
} // namespace

std::string Status::captionProduct;
std::string Status::logFolder;

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
    MessageBoxW(nullptr, widen(text).c_str(),
                widen(caption(captionProduct, InfoCaption, false).c_str()).c_str(),
                MB_ICONEXCLAMATION | MB_OK);
}

// Composed in UTF-8, the language's texts being UTF-8, and shown wide: every letter appears
// whatever the code page.
std::string Status::errorText(const char* message, const char* details,
                              const std::string& appended) const
{
    const std::string logs = logFolder.empty()
                                 ? ""
                                 : "\n\nThe logs of this run go to " + toUtf8(logFolder.c_str()) + ".";
    return composeErrorText(toUtf8(message).c_str(), toUtf8(details).c_str(), language.c_str()) +
           toUtf8(appended.c_str()) + logs;
}

void Status::showError(const char* message, const char* details, const std::string& appended)
{
    const std::string text = errorText(message, details, appended);
    if (quietMode)
        return;
    // The status dialog goes away while the box is up (the main thread watches this file).
    removeShowDialogFile();
    MessageBoxW(nullptr, widen(text.c_str(), CP_UTF8).c_str(),
                widen(caption(captionProduct, ErrorCaption, true).c_str()).c_str(),
                MB_ICONHAND | MB_SYSTEMMODAL | MB_OK);
}

bool Status::askError(const char* message, const char* details, const std::string& appended,
                      const char* offer)
{
    if (offer == nullptr) {
        showError(message, details, appended);
        return false;
    }
    std::string text = errorText(message, details, appended);
    if (quietMode)
        return false;
    text += "\n\nA fitting Java runtime can be downloaded from:\n" + toUtf8(offer) +
            "\n\nOpen this address now?";
    removeShowDialogFile();
    return MessageBoxW(nullptr, widen(text.c_str(), CP_UTF8).c_str(),
                       widen(caption(captionProduct, ErrorCaption, true).c_str()).c_str(),
                       MB_ICONHAND | MB_SYSTEMMODAL | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}
