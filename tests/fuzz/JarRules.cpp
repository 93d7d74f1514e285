// Fuzz target: any bytes as a jar; its central directory is found and read within its bounds.
#include <cstdlib>
#include <string>
#include <vector>

#include "check/JarRules.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The file's last bytes, as the checker reads them.
    const size_t tailSize = size < jar::TailLength ? size : jar::TailLength;
    const std::vector<uint8_t> tail(data + size - tailSize, data + size);
    jar::Directory directory;
    if (jar::findDirectory(tail.data(), tail.size(), size, directory) != nullptr)
        return 0;
    if (directory.offset + directory.size > size)
        std::abort();  // a directory said to be found outside the file
    // The directory in a buffer of its own size, so that a read past it is seen.
    const std::vector<uint8_t> bytes(data + directory.offset,
                                     data + directory.offset + directory.size);
    std::vector<std::string> names;
    jar::directoryNames(bytes.data(), bytes.size(), directory.entries, names);
    size_t total = 0;
    for (const std::string& name : names)
        total += 46 + name.size();
    if (total > bytes.size())
        std::abort();
    return 0;
}
