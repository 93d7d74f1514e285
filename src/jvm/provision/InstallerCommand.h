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

// A package file of Windows Installer: its name ends in ".msi", in any case.
bool isWindowsInstallerPackage(const std::string& file);

// A program text "msiexec" or "msiexec.exe" without a folder (any case): the system's own
// msiexec is meant, never one found beside the package or through PATH.
bool namesSystemMsiexec(const std::string& program);

// True when an argument word after the program asks msiexec for a log ("/l...", "/log", or the
// same with "-").
bool asksForLog(const InstallerCommand& command);

// Adds msiexec's verbose log into `log` to the arguments.
void addMsiexecLog(InstallerCommand& command, const std::string& log);

// The command that installs the Windows Installer package `package` with its log in `log`
// (none when empty): without a question (quiet) or with msiexec's own progress bar and
// elevation prompt.
std::string defaultMsiexecCommand(const std::string& package, const std::string& log, bool quiet);
