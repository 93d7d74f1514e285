// Fuzz target: any size gives a short text that ends in its unit, and any volumes a line that
// names each root at most once.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "util/DiskSpaceRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    unsigned long long bytes;
    std::memcpy(&bytes, data, sizeof bytes);
    const std::string text = spaceText(bytes);
    const size_t blank = text.find(' ');
    if (text.size() > 16 || blank == std::string::npos || blank == 0)
        std::abort();
    const std::vector<std::string> roots = fuzz::fields(data + 8, size - 8, 3);
    std::vector<VolumeSpace> volumes;
    for (const std::string& root : roots)
        volumes.push_back({root, (bytes & 1) != 0, bytes});
    const std::string line = freeSpaceText(volumes);
    if (line.compare(0, 11, "free space:") != 0)
        std::abort();
    if (!roots[0].empty() && roots[0].find(',') == std::string::npos &&
        line.find(roots[0] + " ") == std::string::npos)
        std::abort();
    return 0;
}
