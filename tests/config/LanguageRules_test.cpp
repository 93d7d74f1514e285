#include "config/LanguageRules.h"

#include <gtest/gtest.h>

namespace {

struct LocaleRow {
    const char* localeName;  // as stored in the registry
    const char* language;
};

// Rows of the recognition table, their order and their traps.
const LocaleRow LocaleRows[] = {
    {"French", "french"},          // compared after lower-casing
    {"FRA", "french"},
    {"french-swiss", "french"},
    {"france", "french"},          // plain begins-with on "fra"
    {"frenchy", "english"},        // the exact name must match whole
    {"Swiss-French", "german"},    // "swiss" is a German prefix and comes first
    {"swiss", "german"},
    {"desk", "german"},
    {"Deutsch", "german"},
    {"ESN", "spanish"},
    {"plk", "polish"},
    {"Japanese", "japanese"},
    {"jpn", "japanese"},
    {"its", "italian"},
    {"Italiano", "italian"},
    {"PTB", "portuguese"},
    {"portuguese", "portuguese"},
    {"Dutch", "dutch"},
    {"dutch (belgian)", "dutch"},
    {"Landinstellingen", "dutch"},
    {"dutchy", "english"},
    {"fr-FR", "english"},          // language tags match no row
    {"de-DE", "english"},
    {"en-US", "english"},
    {"x", "english"},
};

TEST(LanguageRules, RecognisesEveryRowInOrder)
{
    for (const LocaleRow& row : LocaleRows) {
        SCOPED_TRACE(row.localeName);
        EXPECT_STREQ(row.language, recogniseLanguage(lowerAscii(row.localeName).c_str()).key);
    }
}

TEST(LanguageRules, LogMessageNamesTheRow)
{
    EXPECT_STREQ("French found", recogniseLanguage("fra").logMessage);
    EXPECT_STREQ("German found", recogniseLanguage("swiss").logMessage);
    EXPECT_STREQ("Dutch found", recogniseLanguage("dutch").logMessage);
    EXPECT_STREQ("English found", recogniseLanguage("fr-fr").logMessage);
}

} // namespace
