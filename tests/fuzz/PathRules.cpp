// Fuzz target: the PATH rule that finds the Windows directory among the search path's entries.
#include <cstdlib>

#include "FuzzInput.h"
#include "util/AsciiCase.h"
#include "install/PathRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 2);
    const std::string name = lowerAscii(f[0].c_str());
    for (const std::string& entry : pathEntriesEndingIn(f[1].c_str(), f[0].c_str())) {
        if (entry.empty() || entry.size() > 4999 || entry.find(';') != std::string::npos ||
            entry.size() < name.size() || entry.compare(entry.size() - name.size(), name.size(), name) != 0)
            std::abort();
    }
    return 0;
}
