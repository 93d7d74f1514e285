#include "config/ControlFileRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace control_file;

namespace {

TEST(ControlFileRules, FirstKeyThatTheLineBeginsWithWins)
{
    EXPECT_EQ(RequiredVersion, matchKey("jvmRequiredVersion=1.4"));
    EXPECT_EQ(JvmVersion, matchKey("jvmVersion=1.3.1"));
    EXPECT_EQ(JvmVersion, matchKey("jvmVersionX=1.3.1"));  // prefix match
    EXPECT_EQ(JvmName, matchKey("jvmName = JDK"));
    EXPECT_EQ(SearchForJvm, matchKey("searchForJvm=no"));
    EXPECT_EQ(JvmTestTimeout, matchKey("jvmTestTimeout=5"));
    EXPECT_EQ(JvmTestTimeout, matchKey("jvmTestTimeouts=5"));  // prefix match, as for all keys
    EXPECT_EQ(-1, matchKey("jvmTest=5"));
    EXPECT_EQ(JvmBundledDir, matchKey("jvmBundledDir=runtime"));
    EXPECT_EQ(ProductName, matchKey("productName=Atlas"));
    EXPECT_EQ(-1, matchKey("JVMVERSION=1.4"));  // case matters
    EXPECT_EQ(-1, matchKey(" jvmVersion=1.4"));
    EXPECT_EQ(-1, matchKey("# jvmVersion=1.4"));
    EXPECT_EQ(-1, matchKey(""));

    // Why a line sets nothing, as the trace gives it.
    const std::pair<const char*, const char*> reasons[] = {
        {"jvmName = JDK", nullptr}, {"jvmRequiredVersion=1.8", nullptr}, {"", nullptr},
        {" \t", nullptr}, {"readOnlyPackage=stop", nullptr},
        {"configureWinRegistry=no", nullptr}, {" jvmVersion=1.4", "blank before the key"},
        {"\tconfigureWinRegistry=no", "blank before the key"}, {"jvmTest 5", "no \"=\""},
        {"# jvmVersion=1.4", "unknown key"}, {"JVMVERSION=1.4", "unknown key"},
    };
    for (const auto& row : reasons) {
        const char* reason = lineNotTakenReason(row.first);
        EXPECT_EQ(std::string(row.second ? row.second : "-"), reason ? reason : "-") << row.first;
    }
    // A line taken with a blank after its key, which its trace "key value" hides.
    for (const char* line : {"jvmMinVersion = 11", "jvmName\t=JDK", "configureWinRegistry =yes",
                             "jvmRequiredVersion =1.8"})  // the first key of the table
        EXPECT_TRUE(blankAfterKey(line)) << line;
    for (const char* line : {"jvmMinVersion=11", "jvmName", " jvmName = JDK", "jvmVersionX 1"})
        EXPECT_FALSE(blankAfterKey(line)) << line;
}

TEST(ControlFileRules, OnlyTextThatTheLineEndRewriteKeepsIsLeftAlone)
{
    const std::pair<std::string, bool> rows[] = {
        {"", true}, {"a", true}, {"a\r\nb\r\n", true}, {"a\nb", false}, {"a\r", false},
        {"\r", false}, {"\n", false}, {"a\r\r\n", false}, {"a\n\r", false},
        {"a\r\n\x1A", false}, {std::string("a\0\r\n", 4), true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, lineEndsAlreadyWritten(row.first.data(), row.first.size()))
            << testing::PrintToString(row.first);
}

TEST(ControlFileRules, LinePiecesEndAtTheNewlineOrBeforeACharacterTheyWouldSplit)
{
    const std::string e998 = std::string(997, 'e') + "\xC3\xA9";  // "é" across the 998th byte
    const std::pair<std::string, size_t> rows[] = {
        {"a=1\nb=2", 4}, {"a=1", 3}, {std::string(998, 'x') + "\n", 998},
        {std::string(997, 'x') + "\n", 998}, {e998, 997}, {std::string(997, 'e') + "\xC3", 998},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, linePieceLength(row.first.data(), row.first.size()))
            << row.first.size();
}

TEST(ControlFileRules, ValueSkipsExactlyOneCharacterAfterTheKey)
{
    EXPECT_STREQ("= JDK", valueAfterKey("jvmName = JDK", 7));
    EXPECT_STREQ("1.3.1", valueAfterKey("jvmVersionX1.3.1", 10));
    EXPECT_STREQ("1.4 ", valueAfterKey("jvmVersion=1.4 ", 10));
    EXPECT_STREQ("", valueAfterKey("jvmName", 7));  // key alone
    EXPECT_STREQ("", valueAfterKey("jvmName=", 7));
}

TEST(ControlFileRules, InstallDirUnescaping)
{
    const char* cases[][2] = {
        {"C\\:\\\\Program Files/Java", "C:\\Program Files\\Java"},
        {"C:/a/b", "C:\\a\\b"},
        {"\\\\\\\\server", "\\\\server"},
        {"a\\b", "a\\b"},
        {"trailing\\", "trailing\\"},
        {"", ""},
    };
    for (const auto& c : cases) {
        char text[100];
        std::snprintf(text, sizeof text, "%s", c[0]);
        unescapeInstallDir(text);
        EXPECT_STREQ(c[1], text) << c[0];
    }
}

TEST(ControlFileRules, FilenameCharacters)
{
    for (char c : std::string("\\/:*?\"<>|"))
        EXPECT_FALSE(isfilenameChar(c)) << c;
    for (char c : std::string("aZ0 ._-$\t"))
        EXPECT_TRUE(isfilenameChar(c)) << c;
    EXPECT_TRUE(isfilenameChar('\0'));
}

TEST(ControlFileRules, ExtraBackSlashRemoval)
{
    const char* cases[][2] = {
        {"-Dx=C:\\\\dir", "-Dx=C:\\dir"},
        {"-Dx=\\\\\\\\dir", "-Dx=\\dir"},
        {"-Dx=\\\"a b\\\"", "-Dx=\"a b\""},
        {"C\\:\\dir", "C:\\dir"},
        {"a\\/b", "a/b"},
        {"ends\\", "ends\\"},
        {"ends\\\\", "ends\\"},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        char text[100];
        std::snprintf(text, sizeof text, "%s", c[0]);
        removeExtraBackSlashes(text, nullptr);
        EXPECT_STREQ(c[1], text) << c[0];
    }
}

TEST(ControlFileRules, ExtraBackSlashRemovalReportsEachDeletion)
{
    char text[] = "a\\\\b";
    std::vector<std::string> seen;
    removeExtraBackSlashes(text, [&](const char* current, bool after) {
        seen.push_back(std::string(after ? "after " : "before ") + current);
    });
    const std::vector<std::string> expected = {"before a\\\\b", "after a\\b"};
    EXPECT_EQ(expected, seen);
}

TEST(ControlFileRules, CommandNameNormalisation)
{
    struct Case {
        const char* name;
        bool userTraceLog;
        const char* result;
    };
    const Case cases[] = {
        {"jre.exe", false, "jrew.exe"},   {"jre.exe", true, "jre.exe"},
        {"Java", false, "javaw.exe"},     {"Java", true, "java.exe"},
        {"JAVA.EXE", false, "javaw.exe"}, {"launch.bat", false, "launch.bat"},
        {"run.com", true, "run.com"},     {"java.cmd", true, "java.exe"},
        {"a.exe.txt", true, "a.exe"},     {"a.exe.exe", true, "a.exe"},
        {"javaw.exe", false, "javaw.exe"}, {"jre", false, "jrew.exe"},
        // The windowed form is chosen by what the name begins with.
        {"jre.exe.bat", false, "jrew.exe"}, {"java.exe.bat", false, "javaw.exe"},
        {"jre.exe.bat", true, "jre.exe.bat"}, {"jrew.exe", false, "jrew.exe"},
        {"jre.ex.bat", false, "jre.ex.bat"},  {"java.ex.bat", false, "java.ex.bat"},
    };
    for (const Case& c : cases) {
        char name[5001];
        std::snprintf(name, sizeof name, "%s", c.name);
        normaliseCommandName(name, sizeof name, c.userTraceLog);
        EXPECT_STREQ(c.result, name) << c.name << " trace log " << c.userTraceLog;
    }
}

TEST(ControlFileRules, TestTimeoutIsAPositiveWholeNumberOfSecondsOrTheDefault)
{
    struct Case {
        const char* value;
        unsigned seconds;
    };
    const Case cases[] = {
        {"", 60},        {"1", 1},          {"2", 2},         {"60", 60},
        {"0600", 600},   {"0", 60},         {"000", 60},      {"-5", 60},
        {"+5", 60},      {"5 ", 60},        {" 5", 60},       {"5s", 60},
        {"1.5", 60},     {"0x10", 60},      {"86399", 86399}, {"86400", 86400},
        {"86401", 86400}, {"4294968", 86400}, {"99999999999999999999", 86400},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.seconds, testTimeoutSeconds(c.value)) << "[" << c.value << "]";
    EXPECT_EQ(60u, testTimeoutSeconds(nullptr));
    // Tested after every older key, then the keys of the JVM choice.
    EXPECT_EQ(std::string("jvmTestTimeout"), Settings[SettingCount - 5].key);
    EXPECT_EQ(std::string("productName"), Settings[SettingCount - 1].key);
}

TEST(ControlFileRules, ArchitectureAndDownloadAddress)
{
    const char* architectures[][2] = {{"", ""},       {"any", ""},    {"ANY", ""},
                                      {"x64", "x64"}, {"X86", "x86"}, {"Arm64", "arm64"},
                                      {"amd64", "-"}, {"x64 ", "-"},  {"64", "-"}};
    for (const auto& row : architectures) {
        const char* setting = architectureSetting(row[0]);
        EXPECT_STREQ(row[1], setting != nullptr ? setting : "-") << row[0];
    }
    const char* urls[] = {"https://example.org/java", "HTTP://h", "http://a/~b", "ftp://h",
                          "https://", "https:///x", "file:///C:/x", "https://h/a b",
                          "http://a\x7F", "javascript:x", ""};
    for (const char* url : urls)
        EXPECT_EQ(url == urls[0] || url == urls[1] || url == urls[2], isDownloadUrl(url)) << url;
}

TEST(ControlFileRules, ConfigureWinRegistryValues)
{
    EXPECT_TRUE(isConfigureWinRegistryLine("configureWinRegistry=true"));
    EXPECT_FALSE(isConfigureWinRegistryLine("ConfigureWinRegistry=true"));
    EXPECT_TRUE(configureWinRegistryValue("configureWinRegistry=Yes"));
    EXPECT_TRUE(configureWinRegistryValue("configureWinRegistry=TRUE"));
    EXPECT_FALSE(configureWinRegistryValue("configureWinRegistry=no"));
    EXPECT_FALSE(configureWinRegistryValue("configureWinRegistry="));
    EXPECT_FALSE(configureWinRegistryValue("configureWinRegistry"));
    EXPECT_FALSE(configureWinRegistryValue("configureWinRegistry=yes "));
    EXPECT_FALSE(configureWinRegistryValue("configureWinRegistryX=yes"));
    EXPECT_FALSE(isReadOnlyPackageLine("ReadOnlyPackage=stop"));
    EXPECT_TRUE(readOnlyPackageStops("readOnlyPackage=Stop \r"));
    EXPECT_FALSE(readOnlyPackageStops("readOnlyPackage=stopped"));
    EXPECT_FALSE(readOnlyPackageStops("readOnlyPackage"));
}

} // namespace
