// Fuzz target: the version line of a JVM's test run checked against the version settings, and
// the version and home-directory splits.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "jvm/discovery/VersionRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace version_rules;
    const std::vector<std::string> f = fuzz::fields(data, size, 4);
    // The results file's first line as the test run reads it (999 characters at most).
    fuzz::Buffer line(1001, f[3].substr(0, 999));
    extractVersion(line.get());
    const size_t length = line.length();
    if (length > 0 && (!std::isdigit(static_cast<unsigned char>(line.get()[0])) ||
                       !std::isdigit(static_cast<unsigned char>(line.get()[length - 1]))))
        std::abort();
    fuzz::Buffer required(201, f[0]), minimum(201, f[1]), maximum(201, f[2]);
    verifyVersion(required.get(), minimum.get(), maximum.get(), line.get());
    verifyVersion("", minimum.get(), maximum.get(), f[3].c_str());

    // A comparable setting begins and ends with a letter or a digit.
    const std::string& setting = f[0];
    if (isComparableVersion(setting.c_str()) &&
        (!std::isdigit(static_cast<unsigned char>(setting[0])) ||
         !std::isalnum(static_cast<unsigned char>(setting.back()))))
        std::abort();

    fuzz::Buffer family(8), micro(6);
    parseVersion(f[3].c_str(), family.get(), family.capacity(), micro.get(), micro.capacity());
    fuzz::Buffer home(40);
    getJavaHomeDirectory(f[3].c_str(), home.get(), home.capacity());
    fuzz::Buffer dir(5001, f[3]);
    cutAtBinComponent(dir.get());
    fuzz::Buffer name(10, f[0]);
    javaFormOfName(name.get(), name.capacity(), size % 2 == 0);
    return 0;
}
