// Fuzz target: the one argument quoting must round-trip through the C runtime's command-line
// split, for a whole argument vector joined into one command line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLineSplit.h"
#include "exec/ArgQuote.h"

namespace {
std::string allQuoted(const std::vector<std::string>& args)
{
    std::string line;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            line += ' ';
        line += commandLineQuoted(args[i].c_str());
    }
    return line;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The input as up to eight arguments, one a line; a NUL ends an argument's text.
    std::vector<std::string> args;
    const std::string all(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= all.size() && args.size() < 8;) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        const std::string field = all.substr(start, end - start);
        args.push_back(field.substr(0, field.find('\0')));
        start = end + 1;
    }

    // Every argument, empty ones and double quotes included, arrives as it was.
    if (fuzz::splitCommandLine(allQuoted(args)) != args)
        std::abort();

    // The start's own choice passes a text with a double quote as quoted already; any other
    // non-empty argument must arrive whole.
    bool plain = true;
    for (const std::string& arg : args)
        plain = plain && !arg.empty() && arg.find('"') == std::string::npos;
    if (plain && fuzz::splitCommandLine(commandLineOf(args)) != args)
        std::abort();
    return 0;
}
