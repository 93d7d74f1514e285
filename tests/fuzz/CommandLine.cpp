// Fuzz target: the launcher's command-line scan (the switch test and the worker's reading of
// switches and details, which walk the same tokens) and the start-directory rules.
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "launcher/CommandLine.h"
#include "util/AsciiCase.h"

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

    const std::string trimmed = trimStartDirLine(f[1]);
    if (f[1].compare(0, trimmed.size(), trimmed) != 0 || (trimmed.empty() != f[1].empty()))
        std::abort();
    if (!f[0].empty() && startDirNeedsCleanup(line, f[1].c_str()) ==
                             equalsAsciiNoCase(line, f[1].c_str()))
        std::abort();
    return 0;
}
