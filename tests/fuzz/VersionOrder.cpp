// Fuzz target: the version comparison is a total order (reflexive, antisymmetric, transitive,
// with equal versions interchangeable), and the version settings agree with it.
#include <cstdlib>

#include "FuzzInput.h"
#include "jvm/discovery/VersionRules.h"

namespace {
int sign(int value)
{
    return (value > 0) - (value < 0);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace version_rules;
    const std::vector<std::string> f = fuzz::fields(data, size, 3);
    const char* a = f[0].c_str();
    const char* b = f[1].c_str();
    const char* c = f[2].c_str();
    const int ab = sign(compareVersions(a, b));
    const int bc = sign(compareVersions(b, c));
    const int ac = sign(compareVersions(a, c));
    check(compareVersions(a, a) == 0);
    check(ab == -sign(compareVersions(b, a)));
    check(bc == -sign(compareVersions(c, b)));
    if (ab <= 0 && bc <= 0)
        check(ac <= 0 && (ac < 0 || (ab == 0 && bc == 0)));
    if (ab >= 0 && bc >= 0)
        check(ac >= 0 && (ac > 0 || (ab == 0 && bc == 0)));
    if (ab == 0)
        check(ac == bc);

    // A version matches itself as every setting; a version at or after the minimum, or at or
    // before the maximum, is never rejected by that bound.
    check(verifyVersion(a, "", "", a) && verifyVersion("", a, "", a) && verifyVersion("", "", a, a));
    if (ab >= 0)
        check(verifyVersion("", b, "", a));
    if (ab <= 0)
        check(verifyVersion("", "", b, a));
    if (*b != '\0' && verifyVersion(b, "", "", a))
        check(ab >= 0);
    return 0;
}
