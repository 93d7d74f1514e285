// Fuzz target: argument quoting must round-trip through the C runtime's command-line split.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLineSplit.h"
#include "exec/ArgQuote.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string arg(reinterpret_cast<const char*>(data), size);
    arg = arg.substr(0, arg.find('\0'));
    const std::string quoted = quoteArgument(arg.c_str());
    // Arguments without a double quote and with something besides blanks must arrive whole.
    if (arg.find('"') == std::string::npos && arg.find_first_not_of(" \t") != std::string::npos) {
        const std::vector<std::string> split = fuzz::splitCommandLine(quoted);
        if (split.size() != 1 || split[0] != arg)
            std::abort();
    }
    return 0;
}
