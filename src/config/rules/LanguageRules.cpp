#include "config/LanguageRules.h"

#include <cstring>

namespace {
struct LanguageRow {
    const char* key;
    const char* exactName;
    const char* prefixes[11];  // null-terminated
    const char* logMessage;
};

// The order matters: the first row that matches wins ("swiss" is German, "its" Italian).
const LanguageRow LanguageRows[] = {
    {"french", "french",
     {"french-belgian", "frc", "french-canadian", "fra", "frb", "french-swiss", "frs",
      "franzosen", "francesi", "franceses", nullptr},
     "French found"},
    {"german", "german",
     {"dea", "german-austrian", "deu", "des", "german-swiss", "swiss", "deutsch", "tedesco",
      "allemand", nullptr},
     "German found"},
    {"spanish", "spanish",
     {"esp", "esm", "spanish-mexican", "esn", "spanish-modern", "spagnoli", "spanisch",
      "espagnols", nullptr},
     "Spanish found"},
    {"polish", "polish", {"plk", nullptr}, "Polish found"},
    {"japanese", "japanese", {"jpn", nullptr}, "Japanese found"},
    {"italian", "italian", {"italian-swiss", "ita", "its", "italiano", nullptr}, "Italian found"},
    {"portuguese", "portuguese", {"portuguese-brasilian", "ptb", "ptg", nullptr},
     "Portuguese found"},
    {"dutch", "dutch",
     {"dutch (standard)", "dutch (belgian)", "dutch-standard", "dutch-belgian",
      "landinstellingen", nullptr},
     "Dutch found"},
};

bool beginsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}
} // namespace

LanguageMatch recogniseLanguage(const char* lowerName)
{
    const char* name = lowerName != nullptr ? lowerName : "";
    for (const LanguageRow& row : LanguageRows) {
        if (std::strcmp(name, row.exactName) == 0)
            return {row.key, row.logMessage};
        for (const char* const* prefix = row.prefixes; *prefix != nullptr; ++prefix) {
            if (beginsWith(name, *prefix))
                return {row.key, row.logMessage};
        }
    }
    return {"english", "English found"};
}
