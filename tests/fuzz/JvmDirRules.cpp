// Fuzz target: the JVM directory rules on control-file values and search paths.
#include <cstdlib>

#include "FuzzInput.h"
#include "util/AsciiCase.h"
#include "jvm/discovery/VersionRules.h"
#include "jvm/provision/JvmDirRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 3);
    const size_t capacity = 1 + (size > 0 ? data[size - 1] % 48 : 0);
    fuzz::Buffer family(capacity), micro(capacity);
    version_rules::parseVersion(f[0].c_str(), family.get(), family.capacity(), micro.get(), micro.capacity());

    classifyPredefinedDir(f[0].c_str());
    fuzz::Buffer out(capacity);
    substituteVariable("[$AppDir]", f[1].c_str(), f[0].c_str(), out.get(), out.capacity());
    joinPathLevel(f[0].c_str(), f[1].c_str(), out.get(), out.capacity());

    // Walking a search path ends, and each step moves on.
    size_t position = 0;
    fuzz::Buffer entry(capacity);
    bool cut = false;
    size_t steps = 0;
    while (nextPathEntry(f[2].c_str(), position, entry.get(), entry.capacity(), cut)) {
        if (++steps > f[2].size() + 1)
            std::abort();
    }
    driveOfPath(f[2].c_str(), out.get(), out.capacity());
    isJavaSoftKind(f[1].c_str());
    fuzz::Buffer lower(5001, f[1]);
    lowerAsciiInPlace(lower.get());
    return 0;
}
