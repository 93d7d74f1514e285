// Fuzz target: any size gives a short text with its unit, any volumes a line that names the
// first root given.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "util/DiskSpaceRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unsigned long long bytes = 0;
    std::memcpy(&bytes, data, size < 8 ? size : 8);
    const std::string text = spaceText(bytes);
    if (text.size() > 16 || text.find(' ') == std::string::npos || text[0] == ' ')
        std::abort();
    const std::vector<std::string> roots = fuzz::fields(data, size, 3);
    std::vector<VolumeSpace> volumes;
    for (const std::string& root : roots)
        volumes.push_back({root, (bytes & 1) != 0, bytes});
    const std::string line = freeSpaceText(volumes);
    if (line.compare(0, 11, "free space:") != 0 ||
        (!roots[0].empty() && line.compare(12, roots[0].size() + 1, roots[0] + " ") != 0))
        std::abort();
    return 0;
}
