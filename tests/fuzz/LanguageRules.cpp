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
    // The locale name as read (at most 200 characters), lowered by the caller.
    const std::string lower = lowerAscii(f[0].substr(0, 200));
    const LanguageMatch match = recogniseLanguage(lower.c_str());
    if (match.key == nullptr || match.logMessage == nullptr || *match.key == '\0')
        std::abort();
    // The trace names the language taken: "french" is logged as "French found".
    std::string message = match.key;
    message[0] = static_cast<char>(message[0] - 'a' + 'A');
    if (message + " found" != match.logMessage)
        std::abort();
    // Every name, prefix and tag of the rows begins with a letter: anything else is English.
    if ((lower[0] < 'a' || lower[0] > 'z') && std::strcmp(match.key, "english") != 0)
        std::abort();
    return 0;
}
