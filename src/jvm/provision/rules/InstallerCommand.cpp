#include "jvm/provision/InstallerCommand.h"

#include <algorithm>
#include <cstring>

#include "exec/ArgQuote.h"
#include "util/AsciiCase.h"

InstallerCommand splitInstallerCommand(const std::string& command)
{
    InstallerCommand result;
    const size_t separatorLength = std::strlen(ArgSeparator);
    const size_t first = command.find(ArgSeparator);
    result.program = command.substr(0, first);
    const size_t slash = result.program.find_last_of('\\');
    result.args.push_back(slash == std::string::npos ? result.program
                                                      : result.program.substr(slash + 1));
    if (first == std::string::npos)
        return result;

    result.remainder = command.substr(first + separatorLength);
    std::string rest = result.remainder;
    for (size_t at; (at = rest.find(ArgSeparator)) != std::string::npos;) {
        result.args.push_back(rest.substr(0, at));
        rest.erase(0, at + separatorLength);
    }
    result.args.push_back(rest);
    if (!result.remainder.empty())
        result.count = static_cast<int>(result.args.size() - 1) + 2;
    return result;
}

std::string installerCommandLine(const InstallerCommand& command)
{
    if (command.args.empty())
        return std::string();
    std::string line = quoteArgument(command.args[0].c_str());
    for (size_t i = 1; i < command.args.size(); ++i)
        line += ' ' + command.args[i];
    return line;
}

namespace {
bool endsWithNoCase(const std::string& text, const char* end)
{
    const size_t length = std::strlen(end);
    return text.size() >= length && equalsAsciiNoCase(text.c_str() + text.size() - length, end);
}

bool isLogSwitch(const std::string& word)
{
    return word.size() >= 2 && (word[0] == '/' || word[0] == '-') && lowerAsciiChar(word[1]) == 'l';
}
} // namespace

bool isWindowsInstallerPackage(const std::string& file)
{
    return endsWithNoCase(file, ".msi");
}

bool namesSystemMsiexec(const std::string& program)
{
    return equalsAsciiNoCase(program.c_str(), "msiexec") ||
           equalsAsciiNoCase(program.c_str(), "msiexec.exe");
}

bool asksForLog(const InstallerCommand& command)
{
    // A slot may hold several words: the blanks part them on the command line.
    for (size_t i = 1; i < command.args.size(); ++i) {
        const std::string& slot = command.args[i];
        for (size_t start = 0; start < slot.size();) {
            const size_t end = std::min(slot.find(' ', start), slot.size());
            if (isLogSwitch(slot.substr(start, end - start)))
                return true;
            start = end + 1;
        }
    }
    return false;
}

void addMsiexecLog(InstallerCommand& command, const std::string& log)
{
    command.args.push_back("/l*v");
    command.args.push_back("\"" + log + "\"");
    command.count = static_cast<int>(command.args.size() - 1) + 2;
}

std::string defaultMsiexecCommand(const std::string& package, const std::string& log, bool quiet)
{
    const std::string separator = ArgSeparator;
    const std::string logArgs =
        log.empty() ? "" : "/l*v" + separator + "\"" + log + "\"" + separator;
    return "msiexec.exe" + separator + "/i" + separator + "\"" + package + "\"" + separator +
           "/norestart" + separator + logArgs + (quiet ? "/qn" : "/passive");
}
