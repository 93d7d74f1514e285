// Recognition of the user's language from a locale name: text in, language key out.
#pragma once

#include <string>

#include "util/AsciiCase.h"

struct LanguageMatch {
    const char* key;         // "english", "french", ...
    const char* logMessage;  // the "locale.log" message of the row that matched
};


// Goes through the recognition rows in order with an already lower-cased, non-empty locale
// name; the first row whose exact name equals it, or one of whose prefixes begins it, decides.
// Anything else is English.
LanguageMatch recogniseLanguage(const char* lowerName);
