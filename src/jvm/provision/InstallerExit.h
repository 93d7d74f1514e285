// What a vendor's JVM installer's exit code says. The vendors' .msi packages and the .exe
// installers that wrap them both end with Windows Installer's codes.
#pragma once

#include <string>

enum class InstallerEnd {
    Success,        // 0
    RestartWanted,  // 3010, 1641: installed, the machine wants a restart
    Cancelled,      // 1602: the user cancelled
    Busy,           // 1618: another installation is in progress
    Failed,         // any other code
};

struct InstallerVerdict {
    InstallerEnd end = InstallerEnd::Failed;
    // The documented meaning of the code; empty for a code that has none.
    std::string meaning;
};

InstallerVerdict judgeInstallerExit(unsigned long code);

// The failure named for the user: the installer, its exit code, the meaning where there is one
// and, where given, the installer's own log.
std::string installerFailureText(const std::string& installer, unsigned long code,
                                 const std::string& log);

// The errors.log line of an installer that asks for a restart.
std::string restartWantedText(const std::string& installer, unsigned long code);
