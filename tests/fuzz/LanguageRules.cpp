// Fuzz target: recognition of the user's language from a locale name of any bytes.
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "ui/LanguageRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 1);
    if (f[0].empty())
        return 0;
    // The locale name as read: at most 200 characters.
    const std::string lower = lowerAscii(f[0].substr(0, 200));
    if (lowerAscii(lower) != lower)
        std::abort();
    const LanguageMatch match = recogniseLanguage(lower.c_str());
    if (match.key == nullptr || match.logMessage == nullptr || *match.key == '\0')
        std::abort();
    // The name's letter case never changes the answer.
    std::string upper = f[0].substr(0, 200);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    if (std::strcmp(recogniseLanguage(lowerAscii(upper).c_str()).key, match.key) != 0)
        std::abort();
    return 0;
}
