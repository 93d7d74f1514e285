#include "jvm/provision/InstallerCommand.h"

#include <cstring>

#include "exec/ArgQuote.h"

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
