// Status reporter: takes the numbered step texts and raises the error boxes of the installer.
#pragma once

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
    void showError(const char* message, const char* details);

private:
    unsigned maxPercentage = 100;
    bool quietMode = false;
    TextBuffer language;
};
