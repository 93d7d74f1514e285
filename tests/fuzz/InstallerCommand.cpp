// Fuzz target: splitting a vendor installer command never loses or invents text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "jvm/provision/InstallerCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string command(reinterpret_cast<const char*>(data), size);
    const InstallerCommand split = splitInstallerCommand(command);
    std::string joined = split.program;
    for (size_t i = 1; i < split.args.size(); ++i)
        joined += std::string(ArgSeparator) + split.args[i];
    if (joined != command || split.args.empty())
        std::abort();
    return 0;
}
