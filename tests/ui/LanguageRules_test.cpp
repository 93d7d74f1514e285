#include "ui/LanguageRules.h"

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
    // Language tags, as Windows stores them since Vista: the first subtag decides when no
    // row of the table does.
    {"fr-FR", "french"},
    {"fr", "french"},
    {"de-DE", "german"},
    {"de-CH", "german"},
    {"es-ES", "spanish"},
    {"pl-PL", "polish"},
    {"ja-JP", "japanese"},
    {"it-IT", "italian"},
    {"PT-br", "portuguese"},
    {"nl", "dutch"},
    {"nl-BE", "dutch"},
    {"zh-Hans-CN", "english"},
    {"en-US", "english"},
    {"x-fr", "english"},           // the first subtag, not any
    {"fr_FR", "english"},          // only "-" separates subtags
    {"fr1-FR", "english"},
    {"-fr", "english"},
    {"fra-FR", "french"},          // the table comes first: "fra" is its prefix
    {"des-DE", "german"},
    {"dex-DE", "english"},
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
    EXPECT_STREQ("French found", recogniseLanguage("fr-fr").logMessage);
    EXPECT_STREQ("Japanese found", recogniseLanguage("ja-jp").logMessage);
    EXPECT_STREQ("English found", recogniseLanguage("en-us").logMessage);
}

} // namespace
