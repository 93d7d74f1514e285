// Splitting of a vendor installer command: program and arguments joined by "/*/*/*".
#pragma once

#include <string>
#include <vector>

constexpr const char* ArgSeparator = "/*/*/*";

struct InstallerCommand {
    std::string program;             // the program text, up to the first separator
    std::string remainder;           // what followed the first separator (empty without one)
    std::vector<std::string> args;   // argument vector: the program's file name first
    int count = 2;                   // the count the trace reports
};

// Splits `command`. Without any separator the program is started with no argument at all
// (repeating the whole command as its argument would hand it nonsense).
InstallerCommand splitInstallerCommand(const std::string& command);

// The installer's command line: its file name (quoted when it holds a blank), then every
// argument slot exactly as the package author wrote it, joined by single blanks and never
// quoted, so that a slot "/s /v/qn" reaches the installer as two arguments.
std::string installerCommandLine(const InstallerCommand& command);
