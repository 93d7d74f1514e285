// Fuzz target: recognition of the user's language from a locale name of any bytes.
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "ui/LanguageRules.h"

namespace {

// The languages, their trace lines and the first subtag of their tags.
const char* const Languages[][3] = {
    {"english", "English found", ""},   {"french", "French found", "fr"},
    {"german", "German found", "de"},   {"spanish", "Spanish found", "es"},
    {"polish", "Polish found", "pl"},   {"japanese", "Japanese found", "ja"},
    {"italian", "Italian found", "it"}, {"portuguese", "Portuguese found", "pt"},
    {"dutch", "Dutch found", "nl"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 1);
    if (f[0].empty())
        return 0;
    // The locale name as read (at most 200 characters), lowered by the caller.
    const std::string lower = lowerAscii(f[0].substr(0, 200));
    const LanguageMatch match = recogniseLanguage(lower.c_str());
    bool known = false;
    for (const auto& language : Languages) {
        if (match.key != nullptr && std::strcmp(match.key, language[0]) == 0)
            known = match.logMessage != nullptr && std::strcmp(match.logMessage, language[1]) == 0;
        // A tag whose first subtag is the language's, whatever follows it, is that language.
        if (*language[2] != '\0' &&
            std::strcmp(recogniseLanguage((language[2] + ("-" + lower)).c_str()).key,
                        language[0]) != 0)
            std::abort();
    }
    if (!known)
        std::abort();
    // Every name, prefix and tag of the rows begins with a letter: anything else is English.
    if ((lower[0] < 'a' || lower[0] > 'z') && std::strcmp(match.key, "english") != 0)
        std::abort();
    return 0;
}
