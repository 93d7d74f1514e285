#include "config/Language.h"
#include "config/LanguageRules.h"
#include "support/TestSupport.h"

#include <cstring>

using namespace qrvtest;

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

TEST(LanguageRules, LowerCasesOnlyAsciiLetters)
{
    EXPECT_EQ("dutch (belgian) \xC4", lowerAscii("DUTCH (Belgian) \xC4"));
}

class GetLanguage : public InTempDirWithRegistry {
protected:
    void setLocale(const char* name)
    {
        setRegString(HKEY_CURRENT_USER, "Control Panel\\International", "LocaleName", name);
    }
    std::string language()
    {
        char buffer[1000];
        std::memset(buffer, 0xbd, sizeof buffer);
        return getLanguage(buffer);
    }
};

TEST_F(GetLanguage, MissingValueIsEnglishAndLogsNothing)
{
    writeFile("locale.log", "");
    EXPECT_EQ("english", language());
    EXPECT_EQ("", readFile("locale.log"));
}

TEST_F(GetLanguage, LogsTheMatchAndTheValueAsRead)
{
    writeFile("locale.log", "");
    setLocale("FRA");
    EXPECT_EQ("french", language());
    EXPECT_EQ("French found locale: fra language: french\n"
              "getLang locale: FRA language: french\n",
              readTextFile("locale.log"));
}

TEST_F(GetLanguage, LogsATagAsItsLanguage)
{
    writeFile("locale.log", "");
    setLocale("de-CH");
    EXPECT_EQ("german", language());
    EXPECT_EQ("German found locale: de-ch language: german\n"
              "getLang locale: de-CH language: german\n",
              readTextFile("locale.log"));
}

TEST_F(GetLanguage, WritesNoLocaleLogUnlessItExists)
{
    setLocale("Dutch");
    EXPECT_EQ("dutch", language());
    EXPECT_FALSE(exists("locale.log"));
}

TEST_F(GetLanguage, AnswersFromTheRegistryOnEveryCall)
{
    setLocale("german");
    EXPECT_EQ("german", language());
    setLocale("polish");
    EXPECT_EQ("polish", language());
}

TEST_F(GetLanguage, OverlongValueIsCutNotOverrun)
{
    setLocale(std::string(600, 'F').c_str());
    EXPECT_EQ("english", language());
}

TEST_F(GetLanguage, ANameOf200CharactersFitsItsBuffer)
{
    // Guards the read size: the 201-byte buffer takes 200 characters and the NUL.
    const struct {
        size_t length;
        const char* language;
    } rows[] = {{200, "french"}, {201, "english"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        setLocale(("fra" + std::string(row.length - 3, 'x')).c_str());
        EXPECT_EQ(row.language, language());
    }
}

} // namespace
