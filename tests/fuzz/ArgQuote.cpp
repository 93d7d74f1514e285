// Fuzz target: argument quoting must round-trip through the C runtime's command-line split.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "exec/ArgQuote.h"

namespace {

// The C runtime's rules for splitting one argument off a command line (backslashes are literal
// unless they precede a double quote).
std::vector<std::string> splitCommandLine(const std::string& line)
{
    std::vector<std::string> args;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        std::string arg;
        bool inQuotes = false;
        while (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t'))) {
            size_t slashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    arg += '"';
                } else {
                    inQuotes = !inQuotes;
                }
                ++i;
            } else {
                arg.append(slashes, '\\');
                if (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t')))
                    arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string arg(reinterpret_cast<const char*>(data), size);
    arg = arg.substr(0, arg.find('\0'));
    const std::string quoted = quoteArgument(arg.c_str());
    // Arguments without a double quote and with something besides blanks must arrive whole.
    if (arg.find('"') == std::string::npos && arg.find_first_not_of(" \t") != std::string::npos) {
        const std::vector<std::string> split = splitCommandLine(quoted);
        if (split.size() != 1 || split[0] != arg)
            std::abort();
    }
    return 0;
}
