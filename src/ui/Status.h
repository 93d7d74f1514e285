// Status reporter: takes the numbered step texts and raises the error boxes of the installer.
#pragma once

#include <string>

#include "util/TextBuffer.h"

class Status {
public:
    Status();
    virtual ~Status() = default;
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    void setQuietMode(bool quiet) { quietMode = quiet; }
    bool isQuietMode() const { return quietMode; }
    void showStatus(const char* text);
    void showStatus(unsigned number);
    void setMaxPercentage(unsigned percentage) { maxPercentage = percentage; }
    void showMessage(const char* text);
    // `appended` follows the composed text.
    void showError(const char* message, const char* details, const std::string& appended = "");
    // The failure box of a shown run with `appended` after its text; with an `offer` (an
    // address) the box names it and asks whether to open it, No the default. True for Yes.
    bool askError(const char* message, const char* details, const std::string& appended,
                  const char* offer);
    // The product named in every box's caption from now on; empty keeps the launcher's own.
    static void setProductName(const char* name) { captionProduct = name; }
    // The folder every failure box names as the place of the run's logs from now on (a run from
    // a copy of a package whose own directory cannot take them); empty names none.
    static void setLogFolder(const std::string& folder) { logFolder = folder; }

private:
    // The box's text in UTF-8: message, details, the language's suffix, then `appended`.
    std::string errorText(const char* message, const char* details,
                          const std::string& appended) const;

    unsigned maxPercentage = 100;
    bool quietMode = false;
    TextBuffer language;
    static std::string captionProduct;
    static std::string logFolder;
};
