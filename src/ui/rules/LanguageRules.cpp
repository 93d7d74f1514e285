#include "ui/LanguageRules.h"

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

// Language subtags of the tags that Windows stores ("fr-FR", "de-CH"), with the row of the
// table above that each one stands for.
const struct {
    const char* subtag;
    size_t row;
} LanguageSubtags[] = {
    {"fr", 0}, {"de", 1}, {"es", 2}, {"pl", 3}, {"ja", 4}, {"it", 5}, {"pt", 6}, {"nl", 7},
};

bool beginsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The row of a language tag's first subtag: the letters before the first "-" or the end. Only
// "-" separates subtags, so "fr_FR" or "fr1" has no subtag of its own.
const LanguageRow* rowOfTag(const char* name)
{
    size_t length = 0;
    while (isLetter(name[length]))
        ++length;
    if (length == 0 || (name[length] != '-' && name[length] != '\0'))
        return nullptr;
    for (const auto& entry : LanguageSubtags) {
        if (std::strlen(entry.subtag) == length && std::strncmp(name, entry.subtag, length) == 0)
            return &LanguageRows[entry.row];
    }
    return nullptr;
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
    // The names above are those of older systems; since Vista the value is a language tag.
    if (const LanguageRow* row = rowOfTag(name))
        return {row->key, row->logMessage};
    return {"english", "English found"};
}
