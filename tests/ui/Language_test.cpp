#include "ui/Language.h"
#include "support/TestSupport.h"

#include <cstring>

using namespace qrvtest;

namespace {

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
