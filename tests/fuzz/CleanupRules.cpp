// Fuzz target: the cleanup's line rules on arbitrary manifest, properties and start-dir lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "install/CleanupRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::string name;
    if (manifestName(line, name) && (name.empty() || name.size() > line.size()))
        std::abort();
    const std::string normal = normalisePropertiesLine(line);
    if (normal.find('/') != std::string::npos || normal.size() > line.size())
        std::abort();
    std::string value;
    propertyValue(normal, "nativeJvmHomeDir", value);
    if (startDirFromLine(line).size() > 4999)
        std::abort();
    const size_t half = size / 2;
    isStrictlyInside(line.substr(0, half), line.substr(half));
    return 0;
}
