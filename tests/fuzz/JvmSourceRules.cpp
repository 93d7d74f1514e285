// Fuzz target: key names, release-file lines, "-version" output, home paths, PATH values and PE
// headers of the search beyond the JavaSoft keys.
#include <cstdlib>

#include "FuzzInput.h"
#include "jvm/discovery/JvmSourceRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace source_rules;
    const std::vector<std::string> f = fuzz::fields(data, size, 2);
    const std::string version = versionOfKeyName(f[0].c_str());
    // A derived version is made of digits and separators only.
    if (version.find_first_not_of("0123456789._") != std::string::npos)
        std::abort();
    std::string released;
    if (releaseLineVersion(f[0].c_str(), released) && released.empty())
        std::abort();
    const std::string home = cleanHome(f[0].c_str());
    if (!home.empty() && (home.back() == ' ' || home.front() == ' '))
        std::abort();
    for (const std::string& dir : searchPathDirs(f[0].c_str())) {
        if (dir.empty())
            std::abort();
        isSkippedPathDir(dir.c_str(), f[1].c_str());
    }
    std::string said;
    if (versionOutputVersion(f[0].c_str(), said) && said.empty())
        std::abort();
    // Any bytes at all: the header reader stays within them.
    const std::string architecture = peArchitecture(data, size);
    if (!architecture.empty() && architecture != "x64" && architecture != "x86" &&
        architecture != "arm64")
        std::abort();
    std::vector<std::string> names = searchPathDirs(f[1].c_str());
    orderForTrial(names, size % 2 == 0);
    return 0;
}
