// Fuzz target: the "java.security" line rule and the other security-file text rules.
#include <cstdlib>

#include "FuzzInput.h"
#include "util/AsciiCase.h"
#include "security/SecurityRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 2);
    const size_t capacity = 1 + (size > 0 ? data[0] % 64 : 0);
    fuzz::Buffer out(capacity);
    if (identityDatabaseOfLine(f[0].c_str(), out.get(), out.capacity())) {
        const std::string value = out.get();
        if (value.find('/') != std::string::npos || value.find("\\\\") != std::string::npos)
            std::abort();
    }
    fuzz::Buffer full(5001);
    identityDatabaseOfLine(f[0].c_str(), full.get(), full.capacity());
    fuzz::Buffer backup(capacity);
    backupNameOf(f[1].c_str(), backup.get(), backup.capacity());
    fuzz::Buffer before(capacity), after(capacity);
    splitAtLastSlash(f[1].c_str(), before.get(), before.capacity(), after.get(), after.capacity());
    const char* verb;
    const char* preposition;
    backupWords(f[1].c_str(), &verb, &preposition);
    if (equalsAsciiNoCase(f[0].c_str(), f[1].c_str()) !=
        equalsAsciiNoCase(f[1].c_str(), f[0].c_str()))
        std::abort();
    return 0;
}
