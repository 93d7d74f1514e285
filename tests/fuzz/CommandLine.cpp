// Fuzz target: the launcher's command-line scan (the switch test and the worker's reading of
// switches and details, which walk the same tokens) and the start-directory rules.
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "launcher/CommandLine.h"

namespace {

// Plain readings of the start-directory rules: line ends and blanks off the end (the first
// character stays), and names equal when their ASCII letters are lowered.
std::string plainTrim(const std::string& line)
{
    const size_t last = line.find_last_not_of(" \r\n");
    return line.substr(0, last == std::string::npos ? 1 : last + 1);
}

std::string plainLower(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 2);
    const char* line = f[0].c_str();
    const InstallRequest request = parseInstallRequest(line);
    // Both readings see the same switches; details come only after one, out of the line.
    if ((request.quiet || request.properties) != hasInstallSwitch(line))
        std::abort();
    if (!request.quiet && !request.properties && !request.details.empty())
        std::abort();
    if (request.details.size() > f[0].size())
        std::abort();

    if (trimStartDirLine(f[1]) != plainTrim(f[1]))
        std::abort();
    if (startDirNeedsCleanup(line, f[1].c_str()) !=
        (!f[0].empty() && plainLower(f[0]) != plainLower(f[1])))
        std::abort();
    return 0;
}
