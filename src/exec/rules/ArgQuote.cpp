#include "exec/ArgQuote.h"

#include <cstring>

std::string quoteArgument(const char* arg)
{
    if (arg == nullptr)
        return std::string();
    if (std::strchr(arg, '"') != nullptr || std::strpbrk(arg, " \t") == nullptr)
        return arg;
    std::string quoted = "\"";
    quoted += arg;
    // Backslashes before the closing quote would escape it; doubling keeps them literal.
    size_t trailing = 0;
    for (size_t i = std::strlen(arg); i > 0 && arg[i - 1] == '\\'; --i)
        ++trailing;
    quoted.append(trailing, '\\');
    quoted += '"';
    return quoted;
}

QuotedArgs::QuotedArgs(const char* const* argv)
{
    for (const char* const* p = argv; p != nullptr && *p != nullptr; ++p)
        args_.push_back(quoteArgument(*p));
    for (const std::string& arg : args_)
        pointers_.push_back(arg.c_str());
    pointers_.push_back(nullptr);
}
