// Rules for the launcher's command line and start directory: text in, verdict or text out.
#pragma once

#include <string>

// True when the command line holds "-q" or "-s" as a whole blank-separated token that is
// followed by a blank; the last token is never a switch, since a switch must be followed by
// the install details. Such a run shows no windows.
bool hasInstallSwitch(const char* commandLine);

struct InstallRequest {
    bool quiet = false;
    bool properties = false;
    std::string details;
};

// The worker's reading of the command line: the switches and the install details that follow
// them. A details text that opens with a double quote runs, over blanks, up to the closing
// quote; a lone last token is taken unchanged.
InstallRequest parseInstallRequest(const char* commandLine);

// The first line of "startdir.txt" as read, with trailing blanks, carriage returns and line
// feeds removed; the first character always stays.
std::string trimStartDirLine(const std::string& line);

// Whether the cleanup program is to be started: the start directory is known and is not the
// package directory (compared without regard to the case of ASCII letters).
bool startDirNeedsCleanup(const char* startDir, const char* currentDir);
