#include "launcher/Status.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {
constexpr const char* ShowDialogFilename = "__qrvshow.sem";
constexpr const char* InfoCaption = "Quorvan Installer";
constexpr const char* ErrorCaption = "Quorvan Installer: Error";
constexpr const char* EnglishSuffix = "\n\nSee errors.log and jinstall.log files for details.";
} // namespace

Status::Status() : language(1000)
{
    language.set("english");
}

void Status::showStatus(const char*) {}

void Status::showStatus(unsigned) {}

void Status::showMessage(const char* text)
{
    std::remove(ShowDialogFilename);
    MessageBoxA(nullptr, text, InfoCaption, MB_ICONEXCLAMATION | MB_OK);
}

void Status::showError(const char* message, const char* details)
{
    std::string text = message != nullptr ? message : "";
    if (details != nullptr && *details != '\0')
        text += std::string("\r\r") + details;
    else
        text += EnglishSuffix;
    if (quietMode)
        return;
    std::remove(ShowDialogFilename);
    MessageBoxA(nullptr, text.c_str(), ErrorCaption, MB_ICONHAND | MB_SYSTEMMODAL | MB_OK);
}
