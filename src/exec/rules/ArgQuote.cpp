#include "exec/ArgQuote.h"

#include <cstring>

std::string commandLineQuoted(const char* text)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (*p == '\\') {
            ++backslashes;
            continue;
        }
        if (*p == '"') {
            quoted.append(2 * backslashes + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        quoted += *p;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string quoteArgument(const char* arg)
{
    if (arg == nullptr)
        return std::string();
    if (std::strchr(arg, '"') != nullptr || std::strpbrk(arg, " \t") == nullptr)
        return arg;
    return commandLineQuoted(arg);
}

std::string commandLineOf(const char* const* argv)
{
    std::string line;
    for (const char* const* p = argv; p != nullptr && *p != nullptr; ++p) {
        if (p != argv)
            line += ' ';
        line += quoteArgument(*p);
    }
    return line;
}

std::string commandLineOf(const std::vector<std::string>& args)
{
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    return commandLineOf(argv.data());
}
